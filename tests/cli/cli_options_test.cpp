#include <gtest/gtest.h>

#include "cli_options.h"

namespace {

std::optional<CliOptions> parse(std::vector<std::string> arguments, std::string* errorOut = nullptr)
{
    std::string error;
    auto options = parseCliOptions(arguments, error);
    if (errorOut)
        *errorOut = error;
    return options;
}

} // namespace

TEST(CliOptions, DefaultsDeriveSigmaAndWeightFromTheZoom)
{
    const auto options = parse({"in.jpg", "out.png"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->parameters.zoomFactor, 2.0f);
    EXPECT_EQ(options->parameters.nIteration, 10);
    EXPECT_FLOAT_EQ(options->parameters.sigma, 1.3f);
    EXPECT_FLOAT_EQ(options->parameters.wtDeconv, 0.02f);
    EXPECT_EQ(options->processor, ProcessorChoice::Auto);
    EXPECT_EQ(options->inputs, std::vector<std::string>{"in.jpg"});
    EXPECT_EQ(options->output, "out.png");

    const struct {
        float zoom, sigma, weight;
    } derived[] = {{1.0f, 1.1f, 0.01f}, {3.0f, 1.5f, 0.03f}, {4.0f, 1.7f, 0.04f}, {2.5f, 1.4f, 0.025f}};
    for (const auto& d : derived) {
        EXPECT_FLOAT_EQ(defaultSigmaForZoom(d.zoom), d.sigma) << d.zoom;
        EXPECT_FLOAT_EQ(defaultWeightForZoom(d.zoom), d.weight) << d.zoom;
    }
}

TEST(CliOptions, ExplicitValuesAndTheBatchForm)
{
    const auto options = parse({"--zoom=3", "--sigma", "2.2", "--weight", "0.05", "--iterations", "4",
                                "--processor", "cpu", "--output-dir", "big", "a.jpg", "b.png"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->parameters.zoomFactor, 3.0f);
    EXPECT_FLOAT_EQ(options->parameters.sigma, 2.2f);
    EXPECT_FLOAT_EQ(options->parameters.wtDeconv, 0.05f);
    EXPECT_EQ(options->parameters.nIteration, 4);
    EXPECT_EQ(options->processor, ProcessorChoice::Cpu);
    EXPECT_EQ(options->outputDir, "big");
    EXPECT_EQ(options->inputs, (std::vector<std::string>{"a.jpg", "b.png"}));
}

TEST(CliOptions, RejectsBadUsageWithAReason)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"only-input.jpg"},
        {"a", "b", "c"},
        {"--zoom", "0", "a", "b"},
        {"--zoom", "two", "a", "b"},
        {"--zoom", "nan", "a", "b"},
        {"--iterations", "-1", "a", "b"},
        {"--iterations", "2.5", "a", "b"},
        {"--sigma", "-1", "a", "b"},
        {"--weight", "0", "a", "b"},
        {"--processor", "tpu", "a", "b"},
        {"--frobnicate", "a", "b"},
        {"a", "b", "--zoom"},
        {"--output-dir", "dir"},
    };
    for (const auto& arguments : bad) {
        std::string error;
        EXPECT_FALSE(parse(arguments, &error)) << testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty());
    }
    const auto help = parse({"a", "--help"});
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->help);
}
