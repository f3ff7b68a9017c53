// The one open folder listing that OpenFolder, GetFile and CloseFolder share.
#pragma once

#include <dirent.h>

// The listing OpenFolder opened and GetFile walks; null while none is open.
// It lives from OpenFolder to CloseFolder or to the next OpenFolder.
extern DIR* folder;
