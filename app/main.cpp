// Zentavo: enlarges photos. Image paths given on the command line open as documents.
#include <QApplication>

#include "cuda_probe.h"
#include "mainwindow.h"

int main(int argc, char* argv[])
{
    probeGpuAtStartup();
    QApplication application(argc, argv);
    MainWindow window(gpuAvailable, cufftMissing);
    window.show();
    // QApplication has taken its own options out of argv.
    for (int i = 1; i < argc; ++i)
        window.openDocument(QString::fromLocal8Bit(argv[i]));
    return application.exec();
}
