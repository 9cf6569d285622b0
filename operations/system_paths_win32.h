// Where the system lives and how it spells its texts, from the platform.
#pragma once

#include "operations/system_paths.h"

namespace quorvel {

class Win32SystemPaths : public SystemPaths {
public:
    std::string system_directory() override;
    std::string expand_environment(const std::string& text) override;
    WideText expand_environment(const WideText& text) override;
    bool load_indirect_text(const WideText& reference, WideText& text) override;
};

}  // namespace quorvel
