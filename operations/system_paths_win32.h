// Where the system lives and how it spells its texts, from the platform.
#pragma once

#include "operations/system_paths.h"

namespace quorvel {

class Win32SystemPaths : public SystemPaths {
public:
    [[nodiscard]] std::string system_directory() override;
    [[nodiscard]] std::string expand_environment(const std::string& text) override;
    [[nodiscard]] WideText expand_environment(const WideText& text) override;
    [[nodiscard]] bool load_indirect_text(const WideText& reference, WideText& text) override;
};

}  // namespace quorvel
