#include "testimages.h"

#include <QFile>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

QString writeTestImage(const QString& path, int width, int height)
{
    cv::Mat image(height, width, CV_8UC3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.at<cv::Vec3b>(y, x) = cv::Vec3b(static_cast<uchar>(x * 255 / width),
                                                  static_cast<uchar>(y * 255 / height), 90);
    }
    cv::rectangle(image, cv::Rect(width / 4, height / 4, width / 2, height / 2), cv::Scalar(240, 240, 240),
                  cv::FILLED);
    cv::imwrite(QFile::encodeName(path).toStdString(), image);
    return path;
}
