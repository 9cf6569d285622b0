#include "files/file_system.h"

namespace quorvel {

// The file is closed in every case once it was created.
bool write_durably(FileSteps& steps, const std::string& path, const std::string& bytes) {
    if (!steps.create(path)) return false;
    const bool written = steps.write(bytes) && steps.flush();
    return steps.close() && written;
}

std::string temporary_path(const std::string& path) { return path + ".tmp"; }

bool replace_through_temporary(FileSteps& steps, const std::string& path,
                               const std::string& bytes) {
    const std::string temporary = temporary_path(path);
    if (write_durably(steps, temporary, bytes) && steps.move_over(temporary, path)) return true;
    steps.remove(temporary);
    return false;
}

bool create_through_reservation(FileSteps& steps, const std::string& path,
                                const std::string& bytes) {
    if (!steps.create_new(path)) return false;
    // From here on the name is ours: filling it replaces only our own empty file.
    if (steps.close() && replace_through_temporary(steps, path, bytes)) return true;
    steps.remove(path);
    return false;
}

}  // namespace quorvel
