// The columns of the main table: how many, and which is which. The
// settings keep a width for each; the rows (service_row.h) a text.
#pragma once

namespace quorvel {

constexpr int COLUMN_COUNT = 8;

enum Column {
    COL_NAME = 0,         // display name
    COL_DESCRIPTION = 1,
    COL_STATE = 2,
    COL_START_TYPE = 3,
    COL_LOGON = 4,
    COL_PATH = 5,
    COL_SERVICE_NAME = 6, // the key the Service Control Manager knows it by
    COL_KIND = 7,
};

}  // namespace quorvel
