"""The library's exports under Python names, with failures raised as exceptions."""

import ctypes
import math
import os
import threading
from typing import Dict, List, NoReturn, Optional, Union, overload

from . import errors
from .errors import LibraryError, PathArg
from .library import export

# GetFile copies a whole entry name with its NUL: at most 260 bytes on
# Windows, 256 on POSIX systems.
_NAME_BUFFER_SIZE = 260

# The library keeps one folder listing for the whole process.
_listing_lock = threading.Lock()


def _encode(path: PathArg) -> bytes:
    """A path as the bytes the platform's file calls take."""
    encoded = os.fsencode(path)
    if b"\0" in encoded:
        # The library would see the path cut short at the NUL.
        raise ValueError("embedded null byte in path %r" % (path,))
    return encoded


def _call(name: str, text: Optional[bytes], number: float = 0.0,
          buffer: Union[bytes, "ctypes.Array[ctypes.c_char]", None] = None) -> int:
    """Calls an export; answers its result as a whole number."""
    result = export(name)(text, number, buffer)
    if not math.isfinite(result) or result != int(result):
        raise LibraryError("%s answered %r, which is no result code of the Pellando library"
                           % (name, result))
    return int(result)


def _raise(code: int, export_name: str, meanings: Dict[int, str],
           filename: Optional[PathArg] = None, filename2: Optional[PathArg] = None) -> NoReturn:
    """Raises the exception for an export's failure code, with its meaning in words."""
    meaning = meanings.get(code, "failed with an unexpected result code")
    raise errors.error(code, meaning, export_name, filename, filename2)


def version() -> int:
    """The library's version number: 3 for the Windows DLL, 20 for the POSIX library."""
    return _call("Version", None, 0.0, None)


_CREASES_MEANINGS = {
    errors.FAILED: "the mesh or the scene cannot be opened or read",
    errors.CANNOT_WRITE: "the scene cannot be written; it was left as it was",
    errors.NO_CREASE_EDGES: "the mesh has no crease edges (no group lines of the chosen kind, "
                            "no faces, or closed groups only); the scene was not touched",
    errors.NO_EDGE_LIST: "the scene has neither an edge list nor a crease statement; "
                         "it was left as it was",
    errors.CREASES_NULL_POINTER: "a path was missing",
    errors.TOO_MANY_GROUPS: "the mesh has more than 8191 distinct group lines; "
                            "the scene was not touched",
}


def transfer_creases(mesh: PathArg, scene: PathArg, smoothing_groups: bool = False) -> int:
    """Writes the edges where the groups of an OBJ mesh meet into a Maya ASCII scene.

    The crease edges are the edges where the mesh's groups meet and their
    open borders. The scene's last crease statement is replaced by one that
    gives each of them, numbered as in the scene's last edge list, the
    value 1000; every other line of the scene stays.

    Args:
        mesh: the Wavefront OBJ file, only read.
        scene: the Maya ASCII (.ma) file, rewritten in place.
        smoothing_groups: group the faces by their smoothing group lines
            ("s ...") instead of their group lines ("g ...").

    Returns:
        The number of groups of the mesh (1 to 8191).

    Raises:
        PellandoError: code -1 when the mesh or the scene cannot be opened or
            read (filename is the mesh, filename2 the scene); -3 when the
            scene cannot be written (filename is the scene).
        NoCreaseEdgesError: -4, the mesh has no crease edges.
        NoEdgeListError: -5, the scene has neither an edge list nor a crease
            statement.
        TooManyGroupsError: -16, the mesh has more than 8191 groups.
        LibraryError: the library cannot be found or loaded.

    On every failure the scene is left exactly as it was.
    """
    code = _call("GetCreases", _encode(mesh), 1.0 if smoothing_groups else 0.0, _encode(scene))
    if code == errors.FAILED:
        # The library does not say which of the two it could not read.
        _raise(code, "GetCreases", _CREASES_MEANINGS, mesh, scene)
    if code in (errors.CANNOT_WRITE, errors.NO_EDGE_LIST):
        _raise(code, "GetCreases", _CREASES_MEANINGS, scene)
    if code < 0:
        _raise(code, "GetCreases", _CREASES_MEANINGS, mesh)
    return code


_SMOOTH_MEANINGS = {
    errors.FAILED: "the input OBJ file cannot be opened or read; nothing was written",
    errors.NULL_POINTER: "a path was missing",
    errors.CANNOT_WRITE: "the output OBJ file cannot be written; it was left as it was",
}


def smooth_to_groups(input: PathArg, output: Optional[PathArg] = None) -> None:
    """Turns the smoothing groups of a Wavefront OBJ file into groups.

    Each "s ..." line becomes a "g ..." line, the old group lines become
    comments, and texture coordinate and normal lines are dropped.

    Args:
        input: the OBJ file to read.
        output: the OBJ file to write; None (the default) rewrites the input
            in place.

    Raises:
        PellandoError: code -1 when the input cannot be opened or read
            (filename is the input); -3 when the output cannot be written
            (filename is the output), which is then left as it was.
        LibraryError: the library cannot be found or loaded.
    """
    target = input if output is None else output
    code = _call("SmoothtoGroupOBJ", _encode(input), 0.0, _encode(target))
    if code < 0:
        _raise(code, "SmoothtoGroupOBJ", _SMOOTH_MEANINGS,
               target if code == errors.CANNOT_WRITE else input)


_SWAP_MEANINGS = {
    errors.FAILED: "the target was left as it was: the source or the target cannot be read, "
                   "the target cannot be written, the source has no vertex lines, the vertex "
                   "counts differ, or the target holds nothing but vertex lines and comments",
    errors.NULL_POINTER: "a path was missing",
}


def swap_vertices(source: PathArg, target: PathArg) -> None:
    """Puts the vertex positions of one OBJ file into another of the same vertex count.

    The target's vertex lines are replaced by the source's, in order; its
    other statements (faces, groups, texture coordinates...) stay.

    Args:
        source: the OBJ file whose "v " lines are taken, only read.
        target: the OBJ file rewritten in place; may be the source.

    Raises:
        PellandoError: code -1, with filename the target and filename2 the
            source, when the target was left as it was (see the meaning).
        LibraryError: the library cannot be found or loaded.
    """
    code = _call("SwapVertices", _encode(source), 0.0, _encode(target))
    if code < 0:
        _raise(code, "SwapVertices", _SWAP_MEANINGS, target, source)


@overload
def list_folder(folder: Union[bytes, "os.PathLike[bytes]"]) -> List[bytes]: ...  # noqa: E704


@overload
def list_folder(folder: Union[str, "os.PathLike[str]"]) -> List[str]: ...  # noqa: E704


def list_folder(folder: PathArg) -> Union[List[str], List[bytes]]:
    """The names of the entries of a folder, as os.listdir gives them.

    Files and subfolders alike, in the order the platform lists them; "."
    and ".." are left out. Names are bytes when the folder is given as
    bytes, else str (decoded like os.fsdecode).

    The library keeps one listing for the whole process: this function
    opens it, reads it to the end and closes it (also on a failure) under a
    lock, so calls from several threads take turns.

    Raises:
        PellandoError: code -1 when the folder cannot be opened for listing.
        LibraryError: the library cannot be found or loaded.
    """
    encoded = _encode(folder)
    names = []  # type: List[bytes]
    name = ctypes.create_string_buffer(_NAME_BUFFER_SIZE)
    with _listing_lock:
        code = _call("OpenFolder", encoded)
        if code < 0:
            _raise(code, "OpenFolder", {errors.FAILED: "the folder cannot be opened for listing"},
                   folder)
        try:
            while True:
                code = _call("GetFile", None, 0.0, name)
                if code == errors.END_OF_LISTING:
                    break
                if code < 0:
                    # Another user of the library in this process closed the listing.
                    _raise(code, "GetFile", {errors.FAILED: "the listing was closed while read"},
                           folder)
                if name.value not in (b".", b".."):
                    names.append(name.value)
        finally:
            _call("CloseFolder", None)
    if isinstance(os.fspath(folder), bytes):
        return names
    return [os.fsdecode(entry) for entry in names]


def delete_file(path: PathArg) -> None:
    """Deletes a file (on POSIX systems also an empty folder).

    Raises:
        PellandoError: code -1 when it cannot be deleted (missing, a folder
            that is not empty, not permitted).
        LibraryError: the library cannot be found or loaded.
    """
    code = _call("FileDelete", _encode(path))
    if code < 0:
        _raise(code, "FileDelete", {errors.FAILED: "the file cannot be deleted"}, path)


def empty_folder(folder: PathArg) -> None:
    """Deletes the files directly in a folder whose names have an extension.

    An entry whose name holds a "." that is not its last character goes
    ("a.obj", ".hidden"); one without ("README", "sub") stays. Subfolders
    are never entered. An entry that cannot be deleted stays and the others
    still go: that is not a failure.

    Raises:
        PellandoError: code -1 when the folder cannot be opened (nothing was
            deleted).
        LibraryError: the library cannot be found or loaded.
    """
    code = _call("EmptyFolder", _encode(folder))
    if code < 0:
        _raise(code, "EmptyFolder", {errors.FAILED: "the folder cannot be opened"}, folder)
