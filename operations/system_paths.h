// Where the system lives and how it spells its own texts: the system
// directory and environment references for the deletion's warning, and
// the expanded and resolved forms of a service's saved texts, which the
// Service Control Manager reports instead of the forms in the key.
#pragma once

#include <string>

#include "text/wide_text.h"

namespace quorvel {

class SystemPaths {
public:
    virtual ~SystemPaths() = default;
    [[nodiscard]] virtual std::string system_directory() = 0;
    // The text with its %NAME% references replaced by their values.
    [[nodiscard]] virtual std::string expand_environment(const std::string& text) = 0;
    [[nodiscard]] virtual WideText expand_environment(const WideText& text) = 0;
    // The text an indirect reference "@file,-id" stands for: string `id`
    // of the module `file` (environment references expanded). False when
    // it cannot be loaded.
    [[nodiscard]] virtual bool load_indirect_text(const WideText& reference, WideText& text) = 0;
};

}  // namespace quorvel
