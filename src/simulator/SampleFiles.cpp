#include "simulator/SimulatedHandset.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtMath>

namespace
{
// A picture of the handset's screen size, drawn without text (no fonts are
// needed, so that the simulator runs without a display).
QByteArray picture(const char* format, const QColor& sky, const QColor& ground, int sunX)
{
    QImage image(240, 320, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 0, 320);
    gradient.setColorAt(0, sky);
    gradient.setColorAt(1, sky.darker(180));
    p.fillRect(image.rect(), gradient);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 120));
    p.drawEllipse(QPoint(sunX, 90), 34, 34);
    p.setBrush(ground);
    p.drawPolygon(QPolygon({QPoint(0, 320), QPoint(0, 230), QPoint(90, 170), QPoint(160, 215), QPoint(240, 150),
                            QPoint(240, 320)}));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 85);
    return bytes;
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
         picture("JPEG", QColor(90, 150, 230), QColor(60, 120, 60), 170)},
        {QStringLiteral("Sunset.png"), QStringLiteral("png"), when.addDays(5),
         picture("PNG", QColor(240, 140, 80), QColor(70, 50, 60), 70)},
        {QStringLiteral("Chime.mid"), QStringLiteral("midi"), when.addDays(8), melody({72, 76, 79, 84})},
        {QStringLiteral("Alarm.mid"), QStringLiteral("midi"), when.addDays(9), melody({84, 72, 84, 72, 84})},
        {QStringLiteral("Taro.vcf"), QStringLiteral("vcard"), when.addDays(12),
         QByteArrayLiteral("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Yamada;Taro\r\nTEL;CELL:070-0000-0000\r\nEND:VCARD\r\n")},
    };
}
