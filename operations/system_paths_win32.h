// Where the system lives, from the platform, for the deletion's
// system-directory warning.
#pragma once

#include "operations/deletion.h"

namespace quorvel {

class Win32SystemPaths : public SystemPaths {
public:
    std::string system_directory() override;
    std::string expand_environment(const std::string& text) override;
};

}  // namespace quorvel
