"""Pellando for Python: the Pellando library's file operations under Python names.

    import pellando
    groups = pellando.transfer_creases("mesh.obj", "scene.ma")
    pellando.smooth_to_groups("in.obj", "out.obj")

Paths may be str, bytes or os.PathLike. A failure raises PellandoError, an
OSError carrying the library's result code (``code``), its meaning in words
and the path concerned (``filename``); the failures of transfer_creases that
are about the files' content have their own subclasses. The library is found
on the first call (see ``load``).
"""

from .errors import (CANNOT_WRITE, FAILED, NO_CREASE_EDGES, NO_EDGE_LIST, TOO_MANY_GROUPS,
                     LibraryError, NoCreaseEdgesError, NoEdgeListError, PellandoError,
                     TooManyGroupsError)
from .functions import (delete_file, empty_folder, list_folder, smooth_to_groups, swap_vertices,
                        transfer_creases, version)
from .library import load

__all__ = [
    "load", "version", "transfer_creases", "smooth_to_groups", "swap_vertices", "list_folder",
    "delete_file", "empty_folder",
    "PellandoError", "NoCreaseEdgesError", "NoEdgeListError", "TooManyGroupsError", "LibraryError",
    "FAILED", "CANNOT_WRITE", "NO_CREASE_EDGES", "NO_EDGE_LIST", "TOO_MANY_GROUPS",
]
