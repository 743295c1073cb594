// The data files the game reads from its working directory.
#pragma once

// Every file start-up or a spawn reads, by the name the game opens it with.
extern const char* const DATA_FILES[];
extern const int DATA_FILE_COUNT;

// One line on stderr for each data file here that the game cannot use, naming the file, the
// folder it was looked for in and why: missing, not a regular file, empty, or for a picture or
// the palette what its loader refused (cut short, not a file the game can read, too small for
// the cells cut from it). Sounds and music are told of by report_refused_data_file after their
// loads. The number of files named.
int report_unusable_data_files();
// After a load of the data file `name`: when the loader noted why it refused the file, one line
// as above, unless the file was named already since the last report. 1 when a line was said.
int report_refused_data_file(const char* name);
