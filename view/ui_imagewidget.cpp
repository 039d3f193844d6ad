#include "ui_imagewidget.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "imagelabel.h"
#include "imagescrollarea.h"

namespace {

constexpr int kMarginWidth = 50;

// The empty columns left and right of the image.
QWidget* makeSideMargin(QWidget* parent, const char* name)
{
    auto* margin = new QWidget(parent);
    margin->setObjectName(name);
    margin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    margin->setMinimumSize(kMarginWidth, 0);
    margin->setMaximumSize(kMarginWidth, QWIDGETSIZE_MAX);
    return margin;
}

QPushButton* makeZoomButton(QWidget* parent, const char* name, const QString& iconPath)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QIcon icon;
    icon.addFile(iconPath, QSize(), QIcon::Normal, QIcon::Off);
    button->setIcon(icon);
    button->setFlat(true);
    button->setCheckable(false);
    button->setDefault(false);
    button->setAutoDefault(false);
    return button;
}

} // namespace

namespace Ui {

void ImageWidget::setupUi(QWidget* ImageWidget)
{
    if (ImageWidget->objectName().isEmpty())
        ImageWidget->setObjectName("ImageWidget");
    ImageWidget->resize(653, 460);
    ImageWidget->setFocusPolicy(Qt::NoFocus);

    verticalLayout = new QVBoxLayout(ImageWidget);
    verticalLayout->setObjectName("verticalLayout");

    lbl_param = new QLabel(ImageWidget);
    lbl_param->setObjectName("lbl_param");
    lbl_param->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    lbl_param->setMinimumHeight(40);
    QFont paramFont = lbl_param->font();
    paramFont.setPointSize(10);
    lbl_param->setFont(paramFont);
    lbl_param->setTextFormat(Qt::RichText);
    lbl_param->setAlignment(Qt::AlignCenter);
    verticalLayout->addWidget(lbl_param);

    widget_4 = new QWidget(ImageWidget);
    widget_4->setObjectName("widget_4");
    horizontalLayout_3 = new QHBoxLayout(widget_4);
    horizontalLayout_3->setObjectName("horizontalLayout_3");
    widget_5 = makeSideMargin(widget_4, "widget_5");
    horizontalLayout_3->addWidget(widget_5);

    sca_imgArea = new ImageScrollArea(widget_4);
    sca_imgArea->setObjectName("sca_imgArea");
    sca_imgArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sca_imgArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sca_imgArea->setWidgetResizable(true);
    sca_imgArea->setAlignment(Qt::AlignCenter);
    scrollAreaWidgetContents = new QWidget();
    scrollAreaWidgetContents->setObjectName("scrollAreaWidgetContents");
    scrollAreaWidgetContents->setGeometry(QRect(0, 0, 485, 275));
    horizontalLayout_2 = new QHBoxLayout(scrollAreaWidgetContents);
    horizontalLayout_2->setObjectName("horizontalLayout_2");
    lbl_img = new ImageLabel(scrollAreaWidgetContents);
    lbl_img->setObjectName("lbl_img");
    lbl_img->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    lbl_img->setMinimumSize(0, 0);
    lbl_img->setAlignment(Qt::AlignCenter);
    horizontalLayout_2->addWidget(lbl_img);
    sca_imgArea->setWidget(scrollAreaWidgetContents);
    horizontalLayout_3->addWidget(sca_imgArea);

    widget_6 = makeSideMargin(widget_4, "widget_6");
    horizontalLayout_3->addWidget(widget_6);
    verticalLayout->addWidget(widget_4);

    pgb_progress = new QProgressBar(ImageWidget);
    pgb_progress->setObjectName("pgb_progress");
    pgb_progress->setRange(0, 1000);
    pgb_progress->setValue(1);
    pgb_progress->setFormat("%p%");
    verticalLayout->addWidget(pgb_progress);

    widget = new QWidget(ImageWidget);
    widget->setObjectName("widget");
    widget->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    widget->setMinimumHeight(50);
    horizontalLayout = new QHBoxLayout(widget);
    horizontalLayout->setObjectName("horizontalLayout");
    widget_2 = new QWidget(widget);
    widget_2->setObjectName("widget_2");
    horizontalLayout->addWidget(widget_2);
    btn_zoomIn = makeZoomButton(widget, "btn_zoomIn", ":/Zoom/zoom_in.png");
    horizontalLayout->addWidget(btn_zoomIn);
    lbl_zoom = new QLabel(widget);
    lbl_zoom->setObjectName("lbl_zoom");
    lbl_zoom->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    horizontalLayout->addWidget(lbl_zoom);
    btn_zoomOut = makeZoomButton(widget, "btn_zoomOut", ":/Zoom/zoom_out.png");
    horizontalLayout->addWidget(btn_zoomOut);
    widget_3 = new QWidget(widget);
    widget_3->setObjectName("widget_3");
    horizontalLayout->addWidget(widget_3);
    verticalLayout->addWidget(widget);

    retranslateUi(ImageWidget);
    QMetaObject::connectSlotsByName(ImageWidget);
}

void ImageWidget::retranslateUi(QWidget* ImageWidget)
{
    ImageWidget->setWindowTitle(QCoreApplication::translate("ImageWidget", "Form"));
    lbl_param->setText(QCoreApplication::translate("ImageWidget", "Parameters"));
    lbl_img->setText(QCoreApplication::translate("ImageWidget", "Image Here"));
    btn_zoomIn->setText(QString());
    lbl_zoom->setText(QCoreApplication::translate("ImageWidget", "1.0x"));
    btn_zoomOut->setText(QString());
}

} // namespace Ui
