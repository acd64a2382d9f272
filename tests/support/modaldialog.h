#ifndef MODALDIALOG_H
#define MODALDIALOG_H

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include "testenvironment.h"

#include <functional>

// Modal dialogs run their own event loop, so a test arms a handler before
// the call that opens one. The handler runs once on the first modal dialog
// of type T that shows and no earlier handler took; it gives up after five
// seconds. TestSuite's cleanup() stops a handler whose dialog never came,
// so that it cannot act in the next test.

template <typename T>
void whenModal(std::function<void(T *)> handle)
{
    auto *timer = new QTimer(&modalWatchers());
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, handle] {
        T *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        const bool fresh = dialog && !dialog->property("handledByTest").toBool();
        if (!fresh && !clock.hasExpired(5000))
            return;
        timer->stop();
        timer->deleteLater();
        if (fresh) {
            dialog->setProperty("handledByTest", true);
            handle(dialog);
        }
    });
    timer->start(10);
}

// Accepts the next modal dialog as it stands.
inline void acceptNextDialog()
{
    whenModal<QDialog>([](QDialog *dialog) { dialog->accept(); });
}

// Runs `fill` on the next modal dialog, then accepts it.
inline void fillNextDialog(const std::function<void(QDialog *)> &fill)
{
    whenModal<QDialog>([fill](QDialog *dialog) {
        fill(dialog);
        dialog->accept();
    });
}

// Presses `button` on the next message box, or closes a box without one;
// with `said`, keeps there what the box said: its title, text and
// informative text, joined by '|'.
inline void answerNextBox(QMessageBox::StandardButton button, QString *said = nullptr)
{
    whenModal<QMessageBox>([button, said](QMessageBox *box) {
        if (said)
            *said = box->windowTitle() + QLatin1Char('|') + box->text() + QLatin1Char('|') + box->informativeText();
        if (QAbstractButton *pressed = box->button(button))
            pressed->click();
        else
            box->reject();
    });
}

// Types `path` into a file dialog and accepts it. selectFile() would leave
// the name field alone while it has the focus.
inline void acceptFile(QFileDialog *dialog, const QString &path)
{
    if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        name->setText(path);
    static_cast<QDialog *>(dialog)->accept();
}

// Answers the next file dialog with `path`, or cancels it when `path` is
// empty.
inline void chooseNextFile(const QString &path)
{
    whenModal<QFileDialog>([path](QFileDialog *dialog) {
        if (path.isEmpty())
            static_cast<QDialog *>(dialog)->reject();
        else
            acceptFile(dialog, path);
    });
}

#endif // MODALDIALOG_H
