// Preloaded into a program (LD_PRELOAD) to end it right after its first window
// was exposed and painted, so that the time from starting the process to its end
// is the time to the first paint, measured the same way for any Qt program.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <unistd.h>

namespace
{
class ExitAfterFirstPaint : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && watched->isWindowType() &&
            static_cast<QWindow*>(watched)->isExposed() && !m_done) {
            m_done = true;
            // Queued behind the painting of this exposure.
            QTimer::singleShot(0, [] { _exit(0); });
        }
        return false;
    }

private:
    bool m_done = false;
};

void install()
{
    qApp->installEventFilter(new ExitAfterFirstPaint);
}

// Runs when the program makes its application object.
struct Registration {
    Registration() { qAddPreRoutine(install); }
} registration;
} // namespace
