#pragma once

class ImageLabel;
class ImageScrollArea;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace Ui {

// The widgets of a result view: its parameters, the image, the progress bar and the zoom bar.
class ImageWidget {
public:
    void setupUi(QWidget* ImageWidget);
    void retranslateUi(QWidget* ImageWidget);

    QVBoxLayout* verticalLayout = nullptr;
    QLabel* lbl_param = nullptr;
    QWidget* widget_4 = nullptr;
    QHBoxLayout* horizontalLayout_3 = nullptr;
    QWidget* widget_5 = nullptr;
    ImageScrollArea* sca_imgArea = nullptr;
    QWidget* scrollAreaWidgetContents = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    ImageLabel* lbl_img = nullptr;
    QWidget* widget_6 = nullptr;
    QProgressBar* pgb_progress = nullptr;
    QWidget* widget = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QWidget* widget_2 = nullptr;
    QPushButton* btn_zoomIn = nullptr;
    QLabel* lbl_zoom = nullptr;
    QPushButton* btn_zoomOut = nullptr;
    QWidget* widget_3 = nullptr;
};

} // namespace Ui
