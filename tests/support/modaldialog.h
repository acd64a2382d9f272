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

#include <functional>

// Modal dialogs run their own event loop, so a test arms a handler before
// the call that opens one. The handler runs once on the first modal dialog
// of type T that shows and no earlier handler took; it gives up after five
// seconds. Call cancelModalHandlers() in cleanup() so that a handler whose
// dialog never came cannot act in the next test.

inline QObject &modalWatchers()
{
    static QObject watchers;
    return watchers;
}

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

inline void cancelModalHandlers()
{
    qDeleteAll(modalWatchers().findChildren<QTimer *>(Qt::FindDirectChildrenOnly));
}

// Accepts the next modal dialog as it stands.
inline void acceptNextDialog()
{
    whenModal<QDialog>([](QDialog *dialog) { dialog->accept(); });
}

// Presses `button` on the next message box.
inline void answerNextBox(QMessageBox::StandardButton button)
{
    whenModal<QMessageBox>([button](QMessageBox *box) {
        if (QAbstractButton *pressed = box->button(button))
            pressed->click();
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

#endif // MODALDIALOG_H
