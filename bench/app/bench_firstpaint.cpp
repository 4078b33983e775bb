// The time from starting the editor to its first painted window, against a bare
// Qt Widgets program with a menu bar and two table views started the same way
// (both with first_paint_exit preloaded, which ends them right after that paint).
// The two alternate in each round; medians and the ratio are printed.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
constexpr int Rounds = 21;

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
        const double m = run(minimal, env);
        const double e = run(editor, env);
        minimalTimes.push_back(m);
        editorTimes.push_back(e);
        ratios.push_back(e / m);
    }
    std::printf("first paint, medians of %d alternating rounds (platform %s)\n", Rounds,
                qPrintable(env.value("QT_QPA_PLATFORM", "xcb")));
    std::printf("minimal window %8.1f ms\neditor         %8.1f ms\nratio          %8.2f (median of the rounds' "
                "ratios %.2f)\n",
                median(minimalTimes), median(editorTimes), median(editorTimes) / median(minimalTimes),
                median(ratios));
    return 0;
}
