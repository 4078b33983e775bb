#pragma once

#include "handset/ProgressProtocol.h"
#include "handset/VedORovavException.h"

#include <QList>
#include <QStringList>

// A progress sink that writes down every call.
struct RecordingProgress : ProgressProtocol {
    QStringList calls;
    QList<double> values;
    double maxValue = -1;
    QString message;
    QString exception;

    void openProgressForWindow(QObject*, double max, const QString& m) override
    {
        calls << "open";
        maxValue = max;
        message = m;
    }
    void updateProgressDoubleValue(double v) override
    {
        calls << "update";
        values << v;
    }
    void updateProgressMessage(const QString& m) override { calls << "message " + m; }
    void notifyException(const VedORovavException& e) override
    {
        calls << "exception";
        exception = e.reason();
    }
    void closeProgress() override { calls << "close"; }
};
