"""Finding the Pellando library, loading it and binding its nine exports."""

import ctypes
import os
import struct
import sys
import threading
from typing import Callable, Dict, List, Optional

from .errors import LibraryError, PathArg

# Every export has the plug-in call shape float f(const char*, double, char*),
# with the platform's default C calling convention: cdecl on 32-bit Windows
# too, which is why the library is opened with CDLL everywhere, never WinDLL.
EXPORTS = ("Version", "OpenFolder", "GetFile", "CloseFolder", "FileDelete",
           "EmptyFolder", "SmoothtoGroupOBJ", "SwapVertices", "GetCreases")

ENVIRONMENT_VARIABLE = "PELLANDO_LIBRARY"


def library_name(platform: str = sys.platform) -> str:
    """The file name of the library on a platform (a value of sys.platform)."""
    if platform == "win32":
        return "libPellandoDLL03.dll"
    if platform == "darwin":
        return "PellandoDLL.dylib"
    return "libPellandoDLL.so"


LIBRARY_NAME = library_name()

_PACKAGE_FOLDER = os.path.dirname(os.path.abspath(__file__))

# A bound export: called with (text, number, buffer), answers the float result.
Export = Callable[..., float]


class Library:
    """The loaded library: its path and its nine exports as ctypes functions."""

    def __init__(self, path: str) -> None:
        self.path = path
        try:
            handle = ctypes.CDLL(path)
        except OSError as failure:
            raise LibraryError("cannot load the Pellando library %s: %s (this Python is %d-bit)"
                               % (path, failure, 8 * struct.calcsize("P"))) from None
        self.exports = {}  # type: Dict[str, Export]
        for name in EXPORTS:
            try:
                function = getattr(handle, name)
            except AttributeError:
                raise LibraryError("%s is not the Pellando library: it has no export %s"
                                   % (path, name)) from None
            function.argtypes = (ctypes.c_char_p, ctypes.c_double, ctypes.c_char_p)
            function.restype = ctypes.c_float
            self.exports[name] = function


_lock = threading.Lock()
_library = None  # type: Optional[Library]


def candidates(package_folder: str = _PACKAGE_FOLDER, platform: str = sys.platform) -> List[str]:
    """The places beside the package where the library may be installed, in order.

    The package's own folder; two folders up, where ``cmake --install`` puts
    it (the package in <prefix>/lib/python/pellando, the library in
    <prefix>/lib); and on Windows <prefix>/bin, where the DLL goes.
    """
    folders = [package_folder, os.path.join(package_folder, os.pardir, os.pardir)]
    if platform == "win32":
        folders.append(os.path.join(package_folder, os.pardir, os.pardir, os.pardir, "bin"))
    name = library_name(platform)
    return [os.path.normpath(os.path.join(folder, name)) for folder in folders]


def _find() -> str:
    """The path of the library to load when none was given (see ``load``)."""
    named = os.environ.get(ENVIRONMENT_VARIABLE)
    if named:
        # The user chose this one: a wrong path is an error, not a reason to
        # quietly take another library.
        if not os.path.isfile(named):
            raise LibraryError("%s names %s, which is not a file" % (ENVIRONMENT_VARIABLE, named))
        return named
    places = candidates()
    for place in places:
        if os.path.isfile(place):
            return place
    raise LibraryError(
        "cannot find the Pellando library %s: pellando.load(path) was not called, %s is not set, "
        "and it is not in %s" % (LIBRARY_NAME, ENVIRONMENT_VARIABLE,
                                 ", ".join(os.path.dirname(place) for place in places)))


def load(path: Optional[PathArg] = None) -> str:
    """Loads the Pellando library and binds its exports; answers its path.

    With a path, that library file is loaded; it replaces one loaded before.
    Without one, the library in use is kept, and if there is none it is found
    as the first call of any function finds it: the file named by the
    PELLANDO_LIBRARY environment variable, else the library installed beside
    the package (see ``candidates``).

    Raises LibraryError when the library cannot be found or loaded, or when
    the file lacks one of the nine exports.
    """
    global _library
    with _lock:
        if path is None:
            if _library is not None:
                return _library.path
            chosen = _find()
        else:
            chosen = os.fsdecode(path)
        # An absolute path: the loader must not search its own folders for it.
        library = Library(os.path.abspath(chosen))
        _library = library
        return library.path


def export(name: str) -> Export:
    """The bound export of that name, loading the library first if need be."""
    library = _library
    if library is None:
        load()
        library = _library
    assert library is not None
    return library.exports[name]
