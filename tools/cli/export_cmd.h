#pragma once

// The installed read-only data folder, set by the build for installed
// programs; empty in the build tree.
#ifndef KIRVALE_INSTALLED_DATA
#define KIRVALE_INSTALLED_DATA ""
#endif

// kirvale-cli export notebook|userdict [--format tsv|csv] [--dir FOLDER] OUT
int ExportCommand(int argc, char** argv);
