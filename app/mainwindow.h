#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>

// The program's one main window. For now it greets the user; documents,
// menus and docks join it as they are built.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    // Opens a pattern file; `fromTemporaryCopy` marks a restore after a
    // crash. Reports its own failures and says whether the file opened.
    bool openFile(const QString &path, bool fromTemporaryCopy);
};

#endif // MAINWINDOW_H
