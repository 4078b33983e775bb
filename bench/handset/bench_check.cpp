// The handset check of a whole document (as opening a window runs it: every
// record checked and its memory number counted, without the sentences), against
// a plain Shift_JIS round trip of the same texts through one pair of iconv
// converters opened beforehand. Also the check with its sentences, as
// `edgemarks-cli check` prints them. Alternating rounds, medians.
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
constexpr int Rounds = 11;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
        if (r < 3)
            sentences.push_back(timed([&] { sink += HandsetCheck::check(list).size(); }));
    }
    iconv_close(encoder);
    iconv_close(decoder);
    std::printf("%d bookmarks, medians of %d alternating rounds\n", count, Rounds);
    std::printf("plain Shift_JIS round trip %8.1f ms\nhandset check              %8.1f ms (%.2fx)\n"
                "check with its sentences   %8.1f ms (%.2fx; %d findings)\n",
                median(plain), median(check), median(check) / median(plain), median(sentences),
                median(sentences) / median(plain), int(sink % 1000000 > -1 ? HandsetCheck::check(list).size() : 0));
    return 0;
}
