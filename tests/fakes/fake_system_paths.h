// Where the system lives, for the unit tests: Windows in C:\WINDOWS, the
// two references to it that service paths use, and indirect texts from a
// table the test fills.
#pragma once

#include <initializer_list>
#include <map>
#include <string>

#include "operations/system_paths.h"

namespace quorvel::testing {

class FakeSystemPaths : public SystemPaths {
public:
    // "@file,-id" as the key holds it → the text the module has.
    std::map<WideText, WideText> indirect_texts;
    int indirect_loads = 0;

    [[nodiscard]] std::string system_directory() override { return "C:\\WINDOWS\\system32"; }

    [[nodiscard]] std::string expand_environment(const std::string& text) override {
        return expand(text, {"%SystemRoot%", "%windir%"}, std::string("C:\\WINDOWS"));
    }

    [[nodiscard]] WideText expand_environment(const WideText& text) override {
        return expand(text, {u"%SystemRoot%", u"%windir%"}, WideText(u"C:\\WINDOWS"));
    }

    [[nodiscard]] bool load_indirect_text(const WideText& reference, WideText& text) override {
        ++indirect_loads;
        const auto found = indirect_texts.find(reference);
        if (found == indirect_texts.end()) return false;
        text = found->second;
        return true;
    }

private:
    // Every reference, in the letter case written here only.
    template <typename Text>
    static Text expand(Text text, std::initializer_list<const typename Text::value_type*> names,
                       const Text& value) {
        for (const auto* name : names) {
            const Text reference(name);
            for (auto at = text.find(reference); at != Text::npos;
                 at = text.find(reference, at + value.size()))
                text.replace(at, reference.size(), value);
        }
        return text;
    }
};

}  // namespace quorvel::testing
