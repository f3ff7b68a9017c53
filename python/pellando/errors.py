"""The exceptions of the package and what each result code of the library means."""

import os
from typing import Optional, Tuple, Union

PathArg = Union[str, bytes, os.PathLike]

# Result codes of the library's exports (the enum PellandoResult of pellando.h).
OK = 0
FAILED = -1
NULL_POINTER = -2
CANNOT_WRITE = -3
END_OF_LISTING = -3
NO_CREASE_EDGES = -4
NO_EDGE_LIST = -5
CREASES_NULL_POINTER = -7
TOO_MANY_GROUPS = -16


class LibraryError(RuntimeError):
    """The Pellando library cannot be found or loaded, or lacks an export.

    Not an OSError on purpose: a loop that catches OSError for each file it
    works on should stop here rather than report every file as failed.
    """


class PellandoError(OSError):
    """An export of the library answered a failure code.

    Attributes:
        code: the export's result code, a negative whole number (-1, -3, ...).
        meaning: what the code means for this export, in words.
        export: the name of the export that answered it ("GetCreases", ...).
        filename: the path concerned, as the caller passed it.
        filename2: a second path the failure may concern, or None.
        path: the same as filename.

    Being an OSError, it is caught by ``except OSError`` along with the
    errors of Python's own file calls.
    """

    def __init__(self, code: int, meaning: str, export: str,
                 filename: Optional[PathArg] = None,
                 filename2: Optional[PathArg] = None) -> None:
        super().__init__(meaning)
        self.code = code
        self.meaning = meaning
        self.export = export
        self.strerror = meaning
        self.filename = filename
        self.filename2 = filename2
        self.path = filename

    def __str__(self) -> str:
        text = self.meaning
        if self.filename is not None:
            text += ": " + repr(os.fspath(self.filename))
        if self.filename2 is not None:
            text += ", " + repr(os.fspath(self.filename2))
        return "%s (%s answered %d)" % (text, self.export, self.code)

    def __reduce__(self) -> Tuple[type, Tuple[object, ...]]:
        # Keeps the error whole when it crosses into another process
        # (multiprocessing pickles exceptions with their constructor's arguments).
        return (type(self), (self.code, self.meaning, self.export, self.filename, self.filename2))


class NoCreaseEdgesError(PellandoError):
    """transfer_creases: the mesh has no crease edges (-4); the scene was not touched.

    The mesh has no group lines of the chosen kind, no faces, or only closed
    groups, so no group meets another or has an open border.
    """


class NoEdgeListError(PellandoError):
    """transfer_creases: the scene has neither an edge list nor a crease statement (-5).

    The scene was left as it was.
    """


class TooManyGroupsError(PellandoError):
    """transfer_creases: the mesh has more than 8191 distinct group lines (-16).

    The scene was not touched.
    """


_ERROR_CLASSES = {
    NO_CREASE_EDGES: NoCreaseEdgesError,
    NO_EDGE_LIST: NoEdgeListError,
    TOO_MANY_GROUPS: TooManyGroupsError,
}


def error(code: int, meaning: str, export: str, filename: Optional[PathArg] = None,
          filename2: Optional[PathArg] = None) -> PellandoError:
    """The exception for a failure code: its own subclass where it has one."""
    cls = _ERROR_CLASSES.get(code, PellandoError) if export == "GetCreases" else PellandoError
    return cls(code, meaning, export, filename, filename2)
