#pragma once

class QAction;
class QGridLayout;
class QMainWindow;
class QMdiArea;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QWidget;

namespace Ui {

// The widgets of the main window: three actions on a tool bar around an MDI area.
class MainWindow {
public:
    void setupUi(QMainWindow* MainWindow);
    void retranslateUi(QMainWindow* MainWindow);

    QAction* actionLoad_Image = nullptr;
    QAction* actionSave_Image = nullptr;
    QAction* actionAbout = nullptr;
    QWidget* centralWidget = nullptr;
    QGridLayout* gridLayout = nullptr;
    QMdiArea* mdiArea = nullptr;
    QMenuBar* menuBar = nullptr;
    QToolBar* mainToolBar = nullptr;
    QStatusBar* statusBar = nullptr;
};

} // namespace Ui
