#pragma once

#include <memory>

#include <QMainWindow>
#include <QString>

class QDragEnterEvent;
class QDropEvent;
class QMdiSubWindow;
class SubMainWindow;
namespace Ui {
class MainWindow;
}

// The top-level window: one document window per opened image in an MDI area,
// and the Load Image, Save Image and About actions.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // The start-up probe's findings; without a usable GPU it warns once and
    // every document offers the CPU only.
    MainWindow(bool gpuAvailable, bool cufftMissing, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens an image as a new document; false (after telling the user) when it cannot be read.
    bool openDocument(const QString& fileName);
    // Writes the active document's current result; false (after telling the user) on failure.
    bool saveCurrentResult(const QString& fileName);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void on_actionLoad_Image_triggered();
    void on_actionSave_Image_triggered();
    void on_actionAbout_triggered();
    void on_mdiArea_subWindowActivated(QMdiSubWindow* window);
    // The one place that decides whether Save is enabled.
    void updateActions();

private:
    void warnAboutGpu(bool gpuAvailable, bool cufftMissing);
    SubMainWindow* activeDocument() const;
    void rememberFolderOf(const QString& fileName);

    std::unique_ptr<Ui::MainWindow> ui;
    bool gpuUsable = false;
    QString lastFolder; // where Load and Save dialogs open; empty means the working directory
};
