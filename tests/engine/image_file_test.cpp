#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <opencv2/imgcodecs.hpp>

#include "image_file.h"
#include "test_images.h"

namespace fs = std::filesystem;

class WriteImageFile : public testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("zentavo-write-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::size_t filesInFolder() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path folder;
    const cv::Mat image = samplePhotoRegion(12, 16);
};

TEST_F(WriteImageFile, WritesTheFormatOfTheExtension)
{
    for (const char* name : {"out.png", "out.jpg", "out.bmp"}) {
        const fs::path path = folder / name;
        EXPECT_EQ(writeImageFile(path.string(), image), "");
        EXPECT_EQ(cv::imread(path.string()).size(), image.size()) << name;
    }
    EXPECT_EQ(filesInFolder(), 3u); // no temporary file left behind
}

TEST_F(WriteImageFile, FailuresLeaveNothingAndKeepAnExistingFile)
{
    const fs::path existing = folder / "keep.png";
    std::ofstream(existing) << "precious";
    const struct {
        fs::path path;
        cv::Mat image;
    } failures[] = {
        {folder / "out.xyz", image},            // no writer for the extension
        {folder / "out", image},                // no extension at all
        {folder / "missing" / "out.png", image}, // no such folder
        {existing, cv::Mat()},                  // nothing to write
    };
    for (const auto& failure : failures)
        EXPECT_NE(writeImageFile(failure.path.string(), failure.image), "") << failure.path;

    EXPECT_EQ(filesInFolder(), 1u);
    std::ifstream in(existing);
    std::string contents;
    in >> contents;
    EXPECT_EQ(contents, "precious");
}
