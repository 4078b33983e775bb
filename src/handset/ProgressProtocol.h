#pragma once

#include <QString>

class QObject;
class VedORovavException;

// The progress sink every transfer reports to: opened once, updated any number
// of times (values above the maximum can occur), told of a failure, closed once
// at the end in every case.
class ProgressProtocol {
public:
    virtual ~ProgressProtocol() = default;
    // message is in the user's language already; a null one stands for the
    // default "Communicating...".
    virtual void openProgressForWindow(QObject* window, double maxValue, const QString& message) = 0;
    virtual void updateProgressDoubleValue(double value) = 0;
    // A message in place of the one given at the open while the link waits for
    // something (an English key of the "VedORovav" context); a null one brings
    // back the first.
    virtual void updateProgressMessage(const QString& message) { Q_UNUSED(message) }
    virtual void notifyException(const VedORovavException& exception) = 0;
    virtual void closeProgress() = 0;
};

// A sink that shows nothing, for callers without a display.
class NullProgress : public ProgressProtocol {
public:
    void openProgressForWindow(QObject*, double, const QString&) override {}
    void updateProgressDoubleValue(double) override {}
    void notifyException(const VedORovavException&) override {}
    void closeProgress() override {}
};
