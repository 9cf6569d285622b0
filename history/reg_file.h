// Registry keys as a file the platform's registry editor imports with
// `regedit /s FILE`, in the editor's own Unicode format: UTF-16LE after a
// byte-order mark (FF FE), lines ending in CR LF, names and texts exact
// whatever the system's code page can hold.
//
//   Windows Registry Editor Version 5.00
//   ;comment lines (ASCII), kept and given back by the reader
//
//   [HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Foo]
//   "Description"="a \"quoted\" \\ text"     REG_SZ of one well-formed line
//   "Start"=dword:00000003                   REG_DWORD of 4 bytes
//   "FailureActions"=hex:00,01,...           REG_BINARY
//   "ImagePath"=hex(2):43,00,3a,00,...       any other type, bytes as stored
//   @=...                                    the key's default value
//
// '\' and '"' in names and texts get a '\' before them. Anything a quoted
// text cannot carry exactly (no final zero, zeros inside, an odd byte
// count, control characters, a lone surrogate) is written as hex(1):.
// Long hex data continues on the next line after a '\', as the editor
// writes it.
//
// Builds before this one wrote the "REGEDIT4" format, whose names and
// texts are code page bytes; the reader still takes it and turns those into
// wide texts as the editor does on import.
#pragma once

#include <string>
#include <vector>

#include "catalogue/service_registry.h"
#include "text/code_page.h"

namespace quorvel {

struct RegFile {
    std::vector<std::string> comments;  // without their ';'
    RegistryTree keys;                  // paths below HKEY_LOCAL_MACHINE
};

// The file's bytes in `out`. False, with `out` unchanged, when a key path
// or value name holds a control character (a line break among them), a
// key path is empty, or a comment holds anything but printable ASCII.
[[nodiscard]] bool write_reg_file(const RegFile& file, std::string& out);

// Reads what write_reg_file writes, and the same format as the registry
// editor writes it (blank lines, comments, any letter case in hex digits,
// spaces around hex bytes); also the "REGEDIT4" files of earlier builds,
// whose names and the data of REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ values
// go through `code_page`. Comments of a Unicode file come back as code page
// text. False for anything else, with `file` unchanged: another header,
// keys outside HKEY_LOCAL_MACHINE, deletions, bad escapes, and names the
// registry would take for others: a key path or value name holding a
// control character (a zero, at which the registry ends a name, among
// them), a key path with an empty part (which it passes over).
[[nodiscard]] bool read_reg_file(const std::string& bytes, CodePage& code_page, RegFile& file);

}  // namespace quorvel
