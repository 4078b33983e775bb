#include "simulator/SimulatedHandset.h"

#include <QFile>

namespace
{
// The sample pictures were drawn once by the project (a sky, a sun, hills, at
// the handset's screen size) and are kept as files: decoding or encoding them
// here would load Qt's image plugins into the simulator for nothing.
QByteArray picture(const QString& name)
{
    QFile file(QStringLiteral(":/samples/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void appendBe(QByteArray& b, quint32 v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        b.append(char(v >> (8 * i)));
}

// A standard MIDI file of one track: the notes one after the other.
QByteArray melody(std::initializer_list<int> notes)
{
    QByteArray track;
    for (const int n : notes) {
        track.append('\0').append(char(0x90)).append(char(n)).append(char(100));      // on at once
        track.append(char(0x83)).append(char(0x60)).append(char(0x80)).append(char(n)).append('\0'); // off after 480
    }
    track.append('\0').append(char(0xFF)).append(char(0x2F)).append('\0');
    QByteArray midi("MThd");
    appendBe(midi, 6, 4);
    appendBe(midi, 0, 2);
    appendBe(midi, 1, 2);
    appendBe(midi, 480, 2);
    midi.append("MTrk");
    appendBe(midi, quint32(track.size()), 4);
    return midi + track;
}
} // namespace

QList<SimulatedHandset::File> SimulatedHandset::sampleFiles()
{
    const QDateTime when(QDate(2005, 6, 7), QTime(8, 9));
    return {
        {QStringLiteral("memo.txt"), QStringLiteral("other"), when, QByteArrayLiteral("Call back at 18:00.\r\n")},
        {QStringLiteral("Photo.JPG"), QStringLiteral("jpeg"), when.addDays(3),
         picture(QStringLiteral("Photo.jpg"))},
        {QStringLiteral("Sunset.png"), QStringLiteral("png"), when.addDays(5),
         picture(QStringLiteral("Sunset.png"))},
        {QStringLiteral("Chime.mid"), QStringLiteral("midi"), when.addDays(8), melody({72, 76, 79, 84})},
        {QStringLiteral("Alarm.mid"), QStringLiteral("midi"), when.addDays(9), melody({84, 72, 84, 72, 84})},
        {QStringLiteral("Taro.vcf"), QStringLiteral("vcard"), when.addDays(12),
         QByteArrayLiteral("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Yamada;Taro\r\nTEL;CELL:070-0000-0000\r\nEND:VCARD\r\n")},
    };
}
