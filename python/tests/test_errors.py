"""Failure codes of the library become exceptions that say what failed and where."""

import os
import pickle
import shutil
import tempfile

import pytest

import pellando
from meshes import TWO_QUADS, TWO_QUADS_EDGES, scene, scene_without_edges

CLOSED_QUAD = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\nf 4 3 2 1\n"


@pytest.fixture
def files(tmp_path):
    """A folder with a mesh, a scene and an OBJ file that the cases below use."""
    (tmp_path / "mesh.obj").write_text(TWO_QUADS)
    (tmp_path / "scene.ma").write_text(scene(TWO_QUADS_EDGES))
    (tmp_path / "edgeless.ma").write_text(scene_without_edges())
    (tmp_path / "ungrouped.obj").write_text(CLOSED_QUAD)
    (tmp_path / "many.obj").write_text(
        "v 0 0 0\nv 1 0 0\nv 0 1 0\n" + "".join("g g%d\nf 1 2 3\n" % i for i in range(8192)))
    return tmp_path


# (call on the files folder, code, exception class, filename, filename2)
CASES = {
    "creases, missing mesh": (lambda f: pellando.transfer_creases(f / "missing.obj", f / "scene.ma"),
                              -1, pellando.PellandoError, "missing.obj", "scene.ma"),
    "creases, missing scene": (lambda f: pellando.transfer_creases(f / "mesh.obj", f / "missing.ma"),
                               -1, pellando.PellandoError, "mesh.obj", "missing.ma"),
    "creases, no crease edges": (lambda f: pellando.transfer_creases(f / "ungrouped.obj", f / "scene.ma"),
                                 -4, pellando.NoCreaseEdgesError, "ungrouped.obj", None),
    "creases, no smoothing groups": (lambda f: pellando.transfer_creases(
        f / "ungrouped.obj", f / "scene.ma", smoothing_groups=True),
        -4, pellando.NoCreaseEdgesError, "ungrouped.obj", None),
    "creases, no edge list": (lambda f: pellando.transfer_creases(f / "mesh.obj", f / "edgeless.ma"),
                              -5, pellando.NoEdgeListError, "edgeless.ma", None),
    "creases, too many groups": (lambda f: pellando.transfer_creases(f / "many.obj", f / "scene.ma"),
                                 -16, pellando.TooManyGroupsError, "many.obj", None),
    "smooth, missing input": (lambda f: pellando.smooth_to_groups(f / "missing.obj", f / "out.obj"),
                              -1, pellando.PellandoError, "missing.obj", None),
    "smooth, output in a missing folder": (
        lambda f: pellando.smooth_to_groups(f / "mesh.obj", f / "no-folder" / "out.obj"),
        -3, pellando.PellandoError, os.path.join("no-folder", "out.obj"), None),
    "swap, missing source": (lambda f: pellando.swap_vertices(f / "missing.obj", f / "mesh.obj"),
                             -1, pellando.PellandoError, "mesh.obj", "missing.obj"),
    "swap, vertex counts differ": (lambda f: pellando.swap_vertices(f / "ungrouped.obj", f / "mesh.obj"),
                                   -1, pellando.PellandoError, "mesh.obj", "ungrouped.obj"),
    "list, missing folder": (lambda f: pellando.list_folder(f / "no-folder"),
                             -1, pellando.PellandoError, "no-folder", None),
    "list, a file": (lambda f: pellando.list_folder(f / "mesh.obj"),
                     -1, pellando.PellandoError, "mesh.obj", None),
    "delete, missing file": (lambda f: pellando.delete_file(f / "missing.obj"),
                             -1, pellando.PellandoError, "missing.obj", None),
    "empty, missing folder": (lambda f: pellando.empty_folder(f / "no-folder"),
                              -1, pellando.PellandoError, "no-folder", None),
}


def snapshot(folder):
    return {name: (folder / name).read_bytes() for name in os.listdir(folder)}


@pytest.mark.parametrize("case", sorted(CASES))
def test_a_failure_raises_its_code_and_the_paths_concerned(files, case):
    call, code, error_class, filename, filename2 = CASES[case]
    before = snapshot(files)
    with pytest.raises(error_class) as raised:
        call(files)
    error = raised.value
    assert isinstance(error, OSError) and isinstance(error, pellando.PellandoError)
    assert error.code == code
    assert error.filename == files / filename and error.path == error.filename
    assert error.filename2 == (None if filename2 is None else files / filename2)
    assert error.meaning and error.strerror == error.meaning
    assert error.meaning in str(error) and str(files / filename) in str(error)
    assert "answered %d" % code in str(error)
    # Nothing was written, and no temporary file was left behind.
    assert snapshot(files) == before


def test_only_the_creases_failures_about_content_have_their_own_classes(files):
    with pytest.raises(pellando.PellandoError) as raised:
        pellando.transfer_creases(files / "missing.obj", files / "scene.ma")
    assert type(raised.value) is pellando.PellandoError
    for subclass in (pellando.NoCreaseEdgesError, pellando.NoEdgeListError, pellando.TooManyGroupsError):
        assert issubclass(subclass, pellando.PellandoError)


def test_the_error_survives_pickling(files):
    # multiprocessing hands a worker's exception back to its parent pickled.
    with pytest.raises(pellando.NoEdgeListError) as raised:
        pellando.transfer_creases(files / "mesh.obj", files / "edgeless.ma")
    copy = pickle.loads(pickle.dumps(raised.value))
    assert type(copy) is pellando.NoEdgeListError
    assert (copy.code, copy.meaning, copy.export, copy.filename, copy.filename2) == \
        (-5, raised.value.meaning, "GetCreases", files / "edgeless.ma", None)
    assert str(copy) == str(raised.value)


def run_unprivileged(call):
    """Runs call() in a child process without root's right to write anything.

    Answers the result code and the filename of the PellandoError the call
    raised, or (0, None).
    """
    read, write = os.pipe()
    pid = os.fork()
    if pid == 0:  # pragma: no cover - the child
        status = 1
        try:
            os.close(read)
            if os.geteuid() == 0:
                os.setgid(65534)
                os.setuid(65534)
            try:
                call()
                answer = (0, None)
            except pellando.PellandoError as error:
                answer = (error.code, error.filename)
            os.write(write, pickle.dumps(answer))
            status = 0
        finally:
            os._exit(status)
    os.close(write)
    with os.fdopen(read, "rb") as answer:
        text = answer.read()
    _, status = os.waitpid(pid, 0)
    assert os.WIFEXITED(status) and os.WEXITSTATUS(status) == 0
    return pickle.loads(text)


def test_a_scene_that_may_not_be_written_raises_minus_three():
    # A folder that an unprivileged child may read but not write: pytest's
    # own temporary folders may not even be entered by another user.
    folder = tempfile.mkdtemp(prefix="pellando-")
    try:
        mesh, scene_path = os.path.join(folder, "mesh.obj"), os.path.join(folder, "scene.ma")
        with open(mesh, "w") as text:
            text.write(TWO_QUADS)
        with open(scene_path, "w") as text:
            text.write(scene(TWO_QUADS_EDGES))
        os.chmod(scene_path, 0o444)
        os.chmod(folder, 0o555)
        assert run_unprivileged(lambda: pellando.transfer_creases(mesh, scene_path)) == (-3, scene_path)
        with open(scene_path) as text:
            assert text.read() == scene(TWO_QUADS_EDGES)
        assert sorted(os.listdir(folder)) == ["mesh.obj", "scene.ma"]
    finally:
        os.chmod(folder, 0o755)
        shutil.rmtree(folder)
