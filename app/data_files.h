// The data files the game reads from its working directory.
#pragma once

// Every file start-up or a spawn reads, by the name the game opens it with.
extern const char* const DATA_FILES[];
extern const int DATA_FILE_COUNT;

// One line on stderr for each data file that is missing or unreadable here, naming the file and
// the folder it was looked for in. The number of such files.
int report_missing_data_files();
