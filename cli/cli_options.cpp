#include "cli_options.h"

#include <charconv>
#include <cmath>
#include <map>

const char* const kCliUsage =
    "Usage: zentavo-cli [options] INPUT OUTPUT\n"
    "       zentavo-cli [options] --output-dir DIR INPUT...\n"
    "\n"
    "Enlarges photographs while keeping edges sharp. The output format follows\n"
    "the output file's extension (.png, .jpg, .bmp, .tif, ...). With --output-dir,\n"
    "each result is written into DIR under its input's file name.\n"
    "\n"
    "Options:\n"
    "  --zoom F              enlargement factor, greater than 0 (default 2)\n"
    "  --iterations N        deconvolution iterations per pass, 0 or more (default 10)\n"
    "  --sigma S             standard deviation of the blur kernel, greater than 0\n"
    "                        (default derived from the zoom: 1.3 at zoom 2)\n"
    "  --weight W            deconvolution weight, greater than 0\n"
    "                        (default derived from the zoom: 0.02 at zoom 2)\n"
    "  --processor P         cpu, gpu or auto (default auto: the GPU when one is\n"
    "                        usable, else the CPU); gpu fails when none is usable\n"
    "  --output-dir DIR      write results into DIR (must exist)\n"
    "  -h, --help            show this help and exit\n"
    "\n"
    "Exit status: 0 on success, 1 when a file could not be processed, 2 on bad usage.\n"
    "A failed or interrupted run leaves no output file behind and never replaces an\n"
    "existing file with a partial one.\n";

namespace {

bool parseFloat(const std::string& text, float& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool parseInt(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& arguments, std::string& error)
{
    CliOptions options;
    std::map<std::string, std::string> values;
    std::vector<std::string> positional;
    static const char* const valued[] = {"--zoom", "--iterations", "--sigma", "--weight", "--processor",
                                         "--output-dir"};

    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            options.help = true;
            return options;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        bool known = false;
        for (const char* option : valued)
            known = known || name == option;
        if (!known) {
            error = "unknown option '" + name + "'";
            return std::nullopt;
        }
        if (equals != std::string::npos) {
            values[name] = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            values[name] = arguments[++i];
        } else {
            error = "option '" + name + "' needs a value";
            return std::nullopt;
        }
    }

    RunParameters& parameters = options.parameters;
    if (values.count("--zoom") && !(parseFloat(values["--zoom"], parameters.zoomFactor) && parameters.zoomFactor > 0)) {
        error = "--zoom takes a number greater than 0, not '" + values["--zoom"] + "'";
        return std::nullopt;
    }
    if (values.count("--iterations") &&
        !(parseInt(values["--iterations"], parameters.nIteration) && parameters.nIteration >= 0)) {
        error = "--iterations takes a whole number of 0 or more, not '" + values["--iterations"] + "'";
        return std::nullopt;
    }
    parameters.sigma = defaultSigmaForZoom(parameters.zoomFactor);
    parameters.wtDeconv = defaultWeightForZoom(parameters.zoomFactor);
    if (values.count("--sigma") && !(parseFloat(values["--sigma"], parameters.sigma) && parameters.sigma > 0)) {
        error = "--sigma takes a number greater than 0, not '" + values["--sigma"] + "'";
        return std::nullopt;
    }
    if (values.count("--weight") && !(parseFloat(values["--weight"], parameters.wtDeconv) && parameters.wtDeconv > 0)) {
        error = "--weight takes a number greater than 0, not '" + values["--weight"] + "'";
        return std::nullopt;
    }
    if (values.count("--processor")) {
        const std::string& processor = values["--processor"];
        if (processor == "cpu")
            options.processor = ProcessorChoice::Cpu;
        else if (processor == "gpu")
            options.processor = ProcessorChoice::Gpu;
        else if (processor == "auto")
            options.processor = ProcessorChoice::Auto;
        else {
            error = "--processor takes cpu, gpu or auto, not '" + processor + "'";
            return std::nullopt;
        }
    }

    if (values.count("--output-dir")) {
        options.outputDir = values["--output-dir"];
        if (options.outputDir.empty() || positional.empty()) {
            error = "--output-dir needs a folder and at least one input file";
            return std::nullopt;
        }
        options.inputs = positional;
    } else {
        if (positional.size() != 2) {
            error = "expected an input file and an output file";
            return std::nullopt;
        }
        options.inputs = {positional[0]};
        options.output = positional[1];
    }
    return options;
}
