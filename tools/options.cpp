#include "tools/options.h"

#include <getopt.h>

namespace rg::tool {

ParsedOptions ParseOptions(const std::vector<std::string>& arguments,
                           const std::vector<OptionSpec>& specs) {
    ParsedOptions parsed;
    std::vector<option> longOptions;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        longOptions.push_back({specs[i].name, specs[i].takesValue ? required_argument : no_argument,
                               nullptr, static_cast<int>(i) + 1});
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});
    // getopt_long takes the program's name first.
    std::vector<std::string> words = {"ravelgard-tool"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());
    optind = 0;  // start afresh: each command parses its own words
    opterr = 0;  // the messages are ours
    for (;;) {
        int index = -1;
        // "+": options end at the first operand, so that operands may start with "-" (a
        // profile value of -5); ":": a missing value is told apart from an unknown option.
        const int found = getopt_long(argc, argv.data(), "+:", longOptions.data(), &index);
        if (found == -1) {
            break;
        }
        if (found == '?') {
            parsed.error = std::string("unknown option ") + argv[optind - 1];
            return parsed;
        }
        if (found == ':') {
            parsed.error = std::string("the option ") + argv[optind - 1] + " needs a value";
            return parsed;
        }
        const OptionSpec& option = specs[static_cast<std::size_t>(found - 1)];
        parsed.values[option.name] = option.takesValue && optarg != nullptr ? optarg : "";
    }
    for (int i = optind; i < argc; ++i) {
        parsed.operands.emplace_back(argv[i]);
    }
    return parsed;
}

}  // namespace rg::tool
