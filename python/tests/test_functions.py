"""Each function's main path, through the built library, with every kind of path."""

import os
from pathlib import Path

import pytest

import pellando
from meshes import TWO_QUADS, TWO_QUADS_CREASES, TWO_QUADS_EDGES, creased_edges, scene

SMOOTH_HEADER = "# Exported from Pellando plugin test version\n"
SWAP_HEADER = "# written by Quillfer plugin for Orvex\n"

# The three ways a caller may name a file.
PATH_KINDS = {
    "str": str,
    "bytes": os.fsencode,
    "pathlib": Path,
}


@pytest.fixture(params=sorted(PATH_KINDS))
def as_path(request):
    return PATH_KINDS[request.param]


def test_version_is_the_posix_library_version():
    assert pellando.version() == 20


@pytest.mark.parametrize("smoothing_groups, groups, creases", [
    (False, 2, TWO_QUADS_CREASES),
    # One smoothing group over both quads: the edge they share is no crease.
    (True, 1, [0, 2, 4, 5, 6, 7]),
])
def test_transfer_creases_writes_the_boundary_edges(tmp_path, as_path, smoothing_groups, groups,
                                                    creases):
    (tmp_path / "mesh.obj").write_text(TWO_QUADS)
    (tmp_path / "scene.ma").write_text(scene(TWO_QUADS_EDGES))
    result = pellando.transfer_creases(as_path(tmp_path / "mesh.obj"), as_path(tmp_path / "scene.ma"),
                                       smoothing_groups=smoothing_groups)
    assert result == groups
    assert creased_edges((tmp_path / "scene.ma").read_text()) == creases


def test_smooth_to_groups_writes_the_output(tmp_path, as_path):
    (tmp_path / "in.obj").write_text("v 1 2 3\nvt 0 0\ng old\ns 1\nf 1 1 1\n")
    assert pellando.smooth_to_groups(as_path(tmp_path / "in.obj"), as_path(tmp_path / "out.obj")) is None
    assert (tmp_path / "out.obj").read_text() == SMOOTH_HEADER + "v 1 2 3\n# old\ng  1\nf 1 1 1\n"
    assert (tmp_path / "in.obj").read_text().startswith("v 1 2 3\n")


def test_smooth_to_groups_without_output_rewrites_the_input(tmp_path, as_path):
    (tmp_path / "mesh.obj").write_text("v 1 2 3\ns 4\nf 1 1 1\n")
    pellando.smooth_to_groups(as_path(tmp_path / "mesh.obj"))
    assert (tmp_path / "mesh.obj").read_text() == SMOOTH_HEADER + "v 1 2 3\ng  4\nf 1 1 1\n"
    assert sorted(os.listdir(tmp_path)) == ["mesh.obj"]


def test_swap_vertices_puts_the_source_positions_into_the_target(tmp_path, as_path):
    (tmp_path / "moved.obj").write_text("v 5 5 5\nv 6 6 6\nf 1 2 2\n")
    (tmp_path / "mesh.obj").write_text("v 0 0 0\nv 1 1 1\nvt 0 1\ng body\nf 1 2 1\n")
    pellando.swap_vertices(as_path(tmp_path / "moved.obj"), as_path(tmp_path / "mesh.obj"))
    assert (tmp_path / "mesh.obj").read_text() == SWAP_HEADER + "v 5 5 5\nv 6 6 6\nvt 0 1\ng body\nf 1 2 1\n"


def test_list_folder_gives_every_entry_but_dot_and_dot_dot(tmp_path, as_path):
    names = ["a.obj", "b.ma", "README", ".hidden"]
    for name in names:
        (tmp_path / name).write_text("")
    (tmp_path / "sub").mkdir()
    listed = pellando.list_folder(as_path(tmp_path))
    expected = [as_path(name) if as_path is os.fsencode else name for name in names + ["sub"]]
    assert sorted(listed) == sorted(expected)
    # The listing was closed: the next one starts afresh.
    assert sorted(pellando.list_folder(as_path(tmp_path))) == sorted(expected)


def test_delete_file_removes_the_file(tmp_path, as_path):
    (tmp_path / "old.obj").write_text("v 0 0 0\n")
    (tmp_path / "keep.obj").write_text("v 0 0 0\n")
    pellando.delete_file(as_path(tmp_path / "old.obj"))
    assert os.listdir(tmp_path) == ["keep.obj"]


def test_empty_folder_removes_the_files_with_an_extension(tmp_path, as_path):
    for name in ("a.obj", "b.txt", "README"):
        (tmp_path / name).write_text("")
    (tmp_path / "sub").mkdir()
    (tmp_path / "sub" / "c.obj").write_text("")
    pellando.empty_folder(as_path(tmp_path))
    assert sorted(os.listdir(tmp_path)) == ["README", "sub"]
    assert os.listdir(tmp_path / "sub") == ["c.obj"]


# A name that is not UTF-8 ("\xe9" alone) and one that is ("\xc3\xa9").
@pytest.mark.parametrize("name", [b"m\xe9sh.obj", b"caf\xc3\xa9 \xe2\x80\x93 mesh.obj"])
def test_names_with_non_ascii_bytes_reach_the_file_system_unchanged(tmp_path, name):
    folder = os.fsencode(tmp_path)
    with open(os.path.join(folder, name), "w") as mesh:
        mesh.write(TWO_QUADS)
    with open(os.path.join(folder, b"sc\xe8ne.ma"), "w") as scene_file:
        scene_file.write(scene(TWO_QUADS_EDGES))
    assert sorted(pellando.list_folder(folder)) == sorted([name, b"sc\xe8ne.ma"])
    # As str, undecodable bytes travel as surrogate escapes, as with os.listdir.
    assert sorted(pellando.list_folder(str(tmp_path))) == sorted([os.fsdecode(name), os.fsdecode(b"sc\xe8ne.ma")])

    mesh_str = os.path.join(str(tmp_path), os.fsdecode(name))
    assert pellando.transfer_creases(mesh_str, os.path.join(folder, b"sc\xe8ne.ma")) == 2
    pellando.smooth_to_groups(mesh_str, Path(tmp_path, os.fsdecode(b"\xff.obj")))
    assert os.path.exists(os.path.join(folder, b"\xff.obj"))
    pellando.delete_file(os.path.join(folder, name))
    assert sorted(os.listdir(folder)) == [b"sc\xe8ne.ma", b"\xff.obj"]


@pytest.mark.parametrize("call", [
    lambda path: pellando.smooth_to_groups(path),
    lambda path: pellando.transfer_creases(path, path),
    lambda path: pellando.swap_vertices(path, path),
    lambda path: pellando.list_folder(path),
    lambda path: pellando.delete_file(path),
    lambda path: pellando.empty_folder(path),
], ids=["smooth_to_groups", "transfer_creases", "swap_vertices", "list_folder", "delete_file",
        "empty_folder"])
def test_a_path_with_a_null_byte_is_refused_before_the_library_sees_it(tmp_path, call):
    # Cut at the NUL, the path would name the folder itself or the file "a.obj".
    (tmp_path / "a.obj").write_text("v 0 0 0\nf 1 1 1\n")
    with pytest.raises(ValueError, match="null byte"):
        call(str(tmp_path / "a.obj") + "\0.bak")
    assert (tmp_path / "a.obj").read_text() == "v 0 0 0\nf 1 1 1\n"


def test_a_path_of_another_type_is_refused():
    with pytest.raises(TypeError):
        pellando.delete_file(3)  # type: ignore[arg-type]
