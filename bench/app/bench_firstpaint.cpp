// The time from starting the editor to its first painted window, against a bare
// Qt Widgets program with a menu bar and two table views started the same way
// (both with first_paint_exit preloaded, which ends them right after that paint).
// The two alternate in each round, each going first every other round; medians,
// the ratio, and the middle half of the rounds' own ratios (how steady it is).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
int Rounds = 41; // or as the first argument

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double run(const QString& program, const QProcessEnvironment& env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(program, {});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qFatal("%s did not paint its window", qPrintable(program));
    return double(t.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        Rounds = std::max(1, std::atoi(argv[1]));
    const QString dir = QCoreApplication::applicationDirPath();
    const QString editor = dir + "/../../src/app/edgemarks";
    const QString minimal = dir + "/minimal_window";
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", dir + "/libfirst_paint_exit.so");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    if (!env.contains("QT_QPA_PLATFORM") && !env.contains("DISPLAY"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    std::vector<double> editorTimes, minimalTimes, ratios;
    for (int r = 0; r < Rounds; ++r) {
        double m = 0, e = 0;
        if (r % 2) {
            e = run(editor, env);
            m = run(minimal, env);
        } else {
            m = run(minimal, env);
            e = run(editor, env);
        }
        minimalTimes.push_back(m);
        editorTimes.push_back(e);
        ratios.push_back(e / m);
    }
    std::printf("first paint, medians of %d alternating rounds (platform %s)\n", Rounds,
                qPrintable(env.value("QT_QPA_PLATFORM", "xcb")));
    std::sort(ratios.begin(), ratios.end());
    std::printf("minimal window %8.1f ms\neditor         %8.1f ms\nratio          %8.2f (median of the rounds' "
                "ratios %.2f, middle half %.2f-%.2f)\n",
                median(minimalTimes), median(editorTimes), median(editorTimes) / median(minimalTimes),
                median(ratios), ratios[ratios.size() / 4], ratios[ratios.size() * 3 / 4]);
    return 0;
}
