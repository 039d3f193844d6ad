#pragma once

#include <QLabel>

// The label a result view draws its image into.
class ImageLabel : public QLabel {
    Q_OBJECT

public:
    explicit ImageLabel(QWidget* parent = nullptr);
};
