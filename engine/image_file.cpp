#include "image_file.h"

#include <filesystem>
#include <new>
#include <system_error>

#include <unistd.h>

#include <opencv2/imgcodecs.hpp>

namespace fs = std::filesystem;

namespace {

// Keeps the extension last, because it selects the encoder.
fs::path temporaryPathFor(const fs::path& target)
{
    std::string name = ".";
    name += target.stem().string();
    name += ".partial-";
    name += std::to_string(::getpid());
    name += target.extension().string();
    return target.parent_path() / name;
}

} // namespace

cv::Mat readImageFile(const std::string& path, std::string& error)
{
    std::error_code ignored;
    if (!fs::exists(path, ignored)) {
        error = "No such file";
        return {};
    }
    cv::Mat image;
    try {
        image = cv::imread(path, cv::IMREAD_COLOR);
    } catch (const cv::Exception& exception) {
        error = exception.code == cv::Error::StsNoMem ? "Insufficient memory" : "Cannot read the file as an image";
        return {};
    } catch (const std::bad_alloc&) {
        error = "Insufficient memory";
        return {};
    }
    if (image.empty())
        error = "Cannot read the file as an image";
    return image;
}

std::string writeImageFile(const std::string& path, const cv::Mat& image)
{
    if (image.empty())
        return "There is no image to write";
    const fs::path target(path);
    if (target.extension().empty())
        return "The file name has no extension to choose an image format";
    try {
        if (!cv::haveImageWriter(path))
            return "No image format is known for the extension \"" + target.extension().string() + "\"";
    } catch (const cv::Exception&) {
        return "No image format is known for the extension \"" + target.extension().string() + "\"";
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return "The folder \"" + folder.string() + "\" does not exist";
    if (fs::is_directory(target, error))
        return "A folder of that name exists";

    const fs::path temporary = temporaryPathFor(target);
    bool written = false;
    std::string reason = "The file could not be written (is the folder writable and the disk not full?)";
    try {
        written = cv::imwrite(temporary.string(), image);
    } catch (const cv::Exception& exception) {
        reason = "The image could not be encoded: " + exception.err;
    }
    if (!written) {
        fs::remove(temporary, error);
        return reason;
    }
    fs::rename(temporary, target, error);
    if (error) {
        const std::string message = "The file could not be replaced: " + error.message();
        fs::remove(temporary, error);
        return message;
    }
    return {};
}
