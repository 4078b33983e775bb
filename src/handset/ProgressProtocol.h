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
