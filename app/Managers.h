#pragma once
// The plug-in lists and the five configuration lists: made and loaded at
// start-up in every mode, deleted at the end of the program.
void CreateManagers(const char* programFolder);
void DeleteManagers();
