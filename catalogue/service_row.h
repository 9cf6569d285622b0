// One service as the eight texts of the main table, and the label tables
// that turn the Service Control Manager's numbers into texts and back.
// Every text is a code page 932 byte string.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "catalogue/columns.h"
#include "text/wide_text.h"

namespace quorvel {

struct ServiceRow {
    std::array<std::string, COLUMN_COUNT> texts;
    // The service's name as the system holds it: what every operation
    // addresses, since the code page text of column 6 may stand for
    // several services.
    WideText exact_name;
    // The enumeration record's numbers the texts were made from.
    std::uint32_t service_type = 0;
    std::uint32_t current_state = 0;
};

// Number to label; values outside the tables give the empty text.
const char* state_label(std::uint32_t state);
const char* start_type_label(std::uint32_t start_type);
std::string service_type_label(std::uint32_t service_type);

// Label tests and label to number. They never fail: a text outside the
// tables gives not running, not a driver, start type 3 or type 0x10.
bool is_running_label(const char* text);

// True for every kind of driver (kernel, file system, recognizer): any of
// the driver bits 0x0B, whatever the label shows.
bool is_driver_type(std::uint32_t service_type);
std::uint32_t start_type_from_label(const char* text);
std::uint32_t service_type_from_label(const char* text);

// The type without the per-user bits (0x40 template, 0x80 instance): the
// kind of process a per-user service runs as.
std::uint32_t base_service_type(std::uint32_t service_type);

}  // namespace quorvel
