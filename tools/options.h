// The command line of ravelgard-tool and its commands, read with getopt_long: long options
// (some taking a value), "--" ending them, and the operands after them.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace rg::tool {

struct OptionSpec {
    const char* name;  // without "--"
    bool takesValue;
};

struct ParsedOptions {
    std::map<std::string, std::string> values;  // option name to value ("" for a flag)
    std::vector<std::string> operands;
    std::string error;  // what is wrong, in words; empty when the line is right

    bool Has(const std::string& name) const { return values.count(name) != 0; }
};

// `arguments` are the words after the command's name. Options come before the operands (the
// first operand, or "--", ends them); an option given twice keeps its last value.
ParsedOptions ParseOptions(const std::vector<std::string>& arguments,
                           const std::vector<OptionSpec>& specs);

}  // namespace rg::tool
