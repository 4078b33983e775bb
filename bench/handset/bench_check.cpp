// The handset check of a whole document: every record checked and its memory
// number counted, without the sentences (what the table does for the rows it
// shows), and the check with its sentences as one text, as `edgemarks-cli check`
// prints them (every record here has a finding); against a plain Shift_JIS round
// trip of the same texts through one pair of iconv converters opened beforehand.
// The three take turns in each round; medians, and the middle half of the
// rounds' own ratios, which tells how steady the figure is.
#include "handset/HandsetCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <iconv.h>
#include <vector>

namespace
{
int Rounds = 15; // or as the second argument

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// "1.23x (1.20-1.31)": the ratio of the medians, and the middle half of the
// rounds' ratios.
void printRatio(const char* what, const std::vector<double>& times, const std::vector<double>& base)
{
    std::vector<double> ratios;
    for (size_t r = 0; r < times.size(); ++r)
        ratios.push_back(times[r] / base[r]);
    std::sort(ratios.begin(), ratios.end());
    std::printf("%-27s%8.1f ms (%.2fx; %.2f-%.2f)\n", what, median(times), median(times) / median(base),
                ratios[ratios.size() / 4], ratios[ratios.size() * 3 / 4]);
}

template <typename F> double timed(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

QByteArray through(iconv_t cd, const char* data, size_t length)
{
    QByteArray out(qsizetype(length * 2 + 16), Qt::Uninitialized);
    char* in = const_cast<char*>(data);
    char* dst = out.data();
    size_t outLeft = size_t(out.size());
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv(cd, &in, &length, &dst, &outLeft);
    out.resize(dst - out.data());
    return out;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    if (argc > 2)
        Rounds = std::max(1, std::atoi(argv[2]));
    BookmarkList list;
    for (int i = 0; i < count; ++i) {
        auto b = std::make_shared<Bookmark>();
        b->setBookmarkName(QString("ブックマーク %1").arg(i));
        b->setLocation(QString("http://www.example.jp/page/%1.html").arg(i));
        b->setNumber(i % 100);
        b->setFolder(i % 20);
        list << b;
    }
    iconv_t encoder = iconv_open("CP932", "UTF-16LE");
    iconv_t decoder = iconv_open("UTF-16LE", "CP932");
    std::vector<double> plain, check, sentences;
    qsizetype sink = 0;
    for (int r = 0; r < Rounds; ++r) {
        plain.push_back(timed([&] {
            for (const BookmarkPtr& b : list)
                for (const QString* text : {&b->bookmarkName(), &b->location()}) {
                    const QByteArray sjis = through(encoder, reinterpret_cast<const char*>(text->utf16()),
                                                    size_t(text->size()) * 2);
                    const QByteArray utf16 = through(decoder, sjis.constData(), size_t(sjis.size()));
                    sink += QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2) ==
                            *text;
                }
        }));
        check.push_back(timed([&] {
            std::array<int, 100> counts{};
            for (const BookmarkPtr& b : list) {
                sink += HandsetCheck::examine(*b).kinds;
                if (HandsetCheck::hasHandsetNumber(*b))
                    ++counts[size_t(b->number())];
            }
            sink += counts[0];
        }));
        sentences.push_back(timed([&] { sink += HandsetCheck::describe(HandsetCheck::check(list)).size(); }));
    }
    iconv_close(encoder);
    iconv_close(decoder);
    std::printf("%d bookmarks, medians of %d alternating rounds (%d findings)\n", count, Rounds,
                int(HandsetCheck::check(list).size()));
    std::printf("%-27s%8.1f ms\n", "plain Shift_JIS round trip", median(plain));
    printRatio("handset check", check, plain);
    printRatio("check with its sentences", sentences, plain);
    return sink == -1;
}
