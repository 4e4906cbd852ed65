// Command ids: one for each row of the command list (command_list.inc), named and
// numbered there, so a new command is a row and never a second line here.
#pragma once

enum CommandId : unsigned {
#define COMMAND(ID, NUMBER, ...) ID = NUMBER,
#define RECENT(n, NUMBER) ID_FILE_MRU_FILE##n = NUMBER,
#include "app/command_list.inc"
#undef RECENT
#undef COMMAND
};

// The recent-file list's length: its rows in the list.
constexpr int RECENT_FILE_COUNT = ID_FILE_MRU_FILE6 - ID_FILE_MRU_FILE1 + 1;
