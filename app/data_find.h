// Finding the folder that holds the data files. The game opens every file by its plain name in
// the working directory, so finding them means entering their folder before start-up.
// The order: the folder given with --data; else the working folder when it holds every file (a
// build's data folder, a player's own copy); else the installed folder, share/ashfallow beside
// the executable's own folder, found from the executable's path so that an install under any
// prefix and an unpacked package work without a rebuild.
#pragma once
#include <string>
#include <vector>

// The installed data folder for the executable at exe_path: "<prefix>/share/ashfallow" for
// "<prefix>/bin/ashfallow" (or games/, or any other folder of the prefix). Empty when exe_path
// has no folder of its own.
std::string data_installed_folder(const std::string& exe_path);

// How many of the game's data files are readable regular files in folder.
int data_files_in(const std::string& folder);

// Picks from candidates, in order, the first folder that holds every data file (1). When none
// does: the one holding the most (the first on a tie, so the first candidate when none holds
// any), and *line is one message naming every folder tried and the one the game goes on in (0).
int data_choose_folder(const std::vector<std::string>& candidates, std::string* chosen, std::string* line);

// The program's step before start-up. With option_dir (--data DIR): enters it; 0 with a line on
// stderr when it cannot be entered. Without: chooses between the working folder and the
// installed one and enters the choice, with one line on stderr when neither holds every file
// (the game goes on with what it finds, as with missing files anywhere). 1 otherwise.
int data_enter_folder(const char* option_dir);
