"""Calls from several Python threads at once, on distinct files."""

import os
import threading

import pellando
from meshes import grid, scene

THREADS = 8
ROUNDS = 3


def run_in_threads(work):
    """Runs work(i) in THREADS threads started together; answers their results by i."""
    start = threading.Barrier(THREADS)
    results = [None] * THREADS
    failures = []

    def thread(i):
        try:
            start.wait()
            results[i] = work(i)
        except BaseException as failure:  # reported by the main thread
            failures.append(failure)

    threads = [threading.Thread(target=thread, args=(i,)) for i in range(THREADS)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert not failures, failures
    return results


def job_files(folder, i):
    """Thread i's own mesh and scene: a grid of its own size and grouping."""
    mesh_text, edges = grid(columns=30 + 3 * i, rows=20 + i, band=2 + i % 5, smoothing=i % 2 == 1)
    os.makedirs(folder, exist_ok=True)
    mesh, scene_path = os.path.join(folder, "mesh.obj"), os.path.join(folder, "scene.ma")
    with open(mesh, "w") as text:
        text.write(mesh_text)
    # Every third edge in the scene's own vertex order, as Maya may list them.
    with open(scene_path, "w") as text:
        text.write(scene([(b, a) if n % 3 == 0 else (a, b) for n, (a, b) in enumerate(edges)]))
    return mesh, scene_path


def transfer_and_smooth(folder, i):
    """Thread i's work: a crease transfer and a smoothing rewrite; answers what they gave."""
    mesh, scene_path = os.path.join(folder, "mesh.obj"), os.path.join(folder, "scene.ma")
    groups = []
    for _ in range(ROUNDS):
        groups.append(pellando.transfer_creases(mesh, scene_path, smoothing_groups=i % 2 == 1))
        pellando.smooth_to_groups(mesh, os.path.join(folder, "smooth.obj"))
    outputs = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as written:
            outputs[name] = written.read()
    return groups, outputs


def test_transfers_from_several_threads_give_what_one_thread_gives(tmp_path):
    for i in range(THREADS):
        job_files(str(tmp_path / "alone" / str(i)), i)
        job_files(str(tmp_path / "together" / str(i)), i)
    alone = [transfer_and_smooth(str(tmp_path / "alone" / str(i)), i) for i in range(THREADS)]
    together = run_in_threads(lambda i: transfer_and_smooth(str(tmp_path / "together" / str(i)), i))
    assert together == alone
    # The jobs differ, so a mix-up between threads would show.
    assert len({groups[0] for groups, _ in alone}) > 1
    assert len({outputs["scene.ma"] for _, outputs in alone}) == THREADS


def test_listings_from_several_threads_take_turns(tmp_path):
    # The library has one listing for the whole process: without taking
    # turns, one thread's OpenFolder would end another's listing.
    expected = []
    for i in range(THREADS):
        folder = tmp_path / str(i)
        folder.mkdir()
        names = ["t%d-%d.obj" % (i, n) for n in range(40)]
        for name in names:
            (folder / name).write_text("")
        expected.append(sorted(names))

    def list_repeatedly(i):
        return [sorted(pellando.list_folder(tmp_path / str(i))) for _ in range(20)]

    for i, listings in enumerate(run_in_threads(list_repeatedly)):
        assert listings == [expected[i]] * 20
