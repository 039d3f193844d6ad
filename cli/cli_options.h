#pragma once

#include <optional>
#include <string>
#include <vector>

#include "run_parameters.h"

enum class ProcessorChoice { Cpu, Gpu, Auto };

struct CliOptions {
    RunParameters parameters;      // processor is settled later from `processor`
    ProcessorChoice processor = ProcessorChoice::Auto;
    std::vector<std::string> inputs;
    std::string output;            // single-file form
    std::string outputDir;         // batch form
    bool help = false;
};

// Parses the command line (without the program name). Returns the options, or
// sets `error` to a one-line reason and returns nothing.
std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& arguments, std::string& error);

extern const char* const kCliUsage;
