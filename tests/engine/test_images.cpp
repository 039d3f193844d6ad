#include "test_images.h"

#include <stdexcept>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

std::string samplePhotoPath()
{
    return std::string(ZENTAVO_SAMPLES_DIR) + "/astronaut.jpg";
}

cv::Mat samplePhoto()
{
    cv::Mat photo = cv::imread(samplePhotoPath(), cv::IMREAD_COLOR);
    if (photo.empty())
        throw std::runtime_error("sample photo missing: " + samplePhotoPath());
    return photo;
}

cv::Mat samplePhotoRegion(int rows, int cols)
{
    cv::Mat photo = samplePhoto();
    if (rows > photo.rows || cols > photo.cols) {
        cv::resize(photo, photo, cv::Size(cols, rows), 0, 0, cv::INTER_CUBIC);
        return photo;
    }
    // Around the face, where there are edges and texture.
    const int top = (photo.rows - rows) / 3;
    const int left = (photo.cols - cols) / 2;
    return photo(cv::Rect(left, top, cols, rows)).clone();
}

cv::Mat sampleLuminance(int rows, int cols)
{
    cv::Mat grey;
    cv::cvtColor(samplePhotoRegion(rows, cols), grey, cv::COLOR_BGR2GRAY);
    cv::Mat plane;
    grey.convertTo(plane, CV_32F, 1.0 / 255.0);
    return plane;
}
