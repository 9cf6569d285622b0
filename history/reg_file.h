// Registry keys as a file the platform's registry editor imports: the
// "REGEDIT4" format, whose texts are in the system's code page (932 here,
// like every text of this program). Windows and Wine import it with
// `regedit /s FILE`.
//
//   REGEDIT4
//   ;comment lines, kept and given back by the reader
//
//   [HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Foo]
//   "Description"="a \"quoted\" \\ text"     REG_SZ of one plain line
//   "Start"=dword:00000003                   REG_DWORD of 4 bytes
//   "FailureActions"=hex:00,01,...           REG_BINARY
//   "ImagePath"=hex(2):43,3a,...,00          any other type, bytes as stored
//   @=...                                    the key's default value
//
// Escaping ('\' and '"' get a '\' before them) steps over double-byte
// characters whole: their second byte may be 0x5C and is never escaped,
// since the editor turns the line into Unicode before it reads escapes.
// Anything a quoted text cannot carry exactly (no final zero, zeros inside,
// control bytes, a broken double-byte character) is written as hex(1):.
// Long hex data continues on the next line after a '\'.
#pragma once

#include <string>
#include <vector>

#include "catalogue/service_registry.h"

namespace quorvel {

struct RegFile {
    std::vector<std::string> comments;  // without their ';'
    RegistryTree keys;                  // paths below HKEY_LOCAL_MACHINE
};

// The file's bytes in `out`. False, with `out` unchanged, when a key path,
// value name or comment cannot be written in this format (a line break in
// it, or a broken double-byte character).
bool write_reg_file(const RegFile& file, std::string& out);

// Reads what write_reg_file writes, and the same format as the registry
// editor writes it (blank lines, comments, any letter case in hex digits,
// spaces around hex bytes). False for anything else, with `file` unchanged:
// another header, keys outside HKEY_LOCAL_MACHINE, deletions, bad escapes.
bool read_reg_file(const std::string& bytes, RegFile& file);

}  // namespace quorvel
