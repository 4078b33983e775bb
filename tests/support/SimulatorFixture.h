#pragma once

#include "simulator/SimulatedHandset.h"
#include "support/TestLink.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A simulated handset at a device path of its own, which EDGEMARKS_DEVICE names
// for the code under test.
struct SimulatorFixture {
    QTemporaryDir dir;
    std::unique_ptr<SimulatedHandset> handset = std::make_unique<SimulatedHandset>();

    SimulatorFixture()
    {
        QString error;
        handset->setRecordingFrames(true); // tests compare the frames the handset got
        const QString device = dir.filePath(QStringLiteral("cu.ah-k3001v.data"));
        if (!handset->start(device, &error))
            qFatal("simulator: %s", qPrintable(error));
        qputenv("EDGEMARKS_DEVICE", QFile::encodeName(device));
    }
    QString devicePath() const { return handset->devicePath(); }
    // Waits until the handset has taken every frame sent so far (the last frame of a
    // conversation, the logout, gets no reply to wait for).
    void settle()
    {
        qsizetype count = -1;
        while (count != handset->receivedFrames().size()) {
            count = handset->receivedFrames().size();
            QTest::qWait(60);
        }
    }
    SimulatedHandset* operator->() { return handset.get(); }
};

// The bytes of a command frame, for comparisons.
inline QByteArray frameBytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}
