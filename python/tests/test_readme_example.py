"""The README's example for pipeline developers runs and handles each failure as it says."""

import os
import re
import subprocess
import sys

from conftest import LIBRARY, REPOSITORY
from meshes import TWO_QUADS, TWO_QUADS_EDGES, scene, scene_without_edges

CLOSED_QUAD = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\ng a\nf 1 2 3 4\nf 4 3 2 1\n"


def example_script(tmp_path):
    readme = (REPOSITORY / "README.md").read_text()
    section = readme.split("### Example: creases for a folder of meshes", 1)[1]
    code = re.search(r"```python\n(.*?)```", section, re.S).group(1)
    script = tmp_path / "creases_for_folder.py"
    script.write_text(code)
    return script


def run_example(tmp_path, folder):
    env = dict(os.environ, PYTHONPATH=str(REPOSITORY / "python"), PELLANDO_LIBRARY=str(LIBRARY))
    return subprocess.run([sys.executable, str(example_script(tmp_path)), str(folder)], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, universal_newlines=True)


def test_the_example_goes_on_past_each_failure_and_reports_it(tmp_path):
    folder = tmp_path / "models"
    folder.mkdir()
    files = {
        "a-good.obj": TWO_QUADS, "a-good.ma": scene(TWO_QUADS_EDGES),
        "b-closed.obj": CLOSED_QUAD, "b-closed.ma": scene(TWO_QUADS_EDGES),
        "c-edgeless.obj": TWO_QUADS, "c-edgeless.ma": scene_without_edges(),
        "d-lonely.obj": TWO_QUADS,
        "e-good.obj": TWO_QUADS, "e-good.ma": scene(TWO_QUADS_EDGES),
    }
    for name, text in files.items():
        (folder / name).write_text(text)
    out = run_example(tmp_path, folder)
    assert out.returncode == 1
    assert out.stdout.splitlines() == [
        "library: %s" % LIBRARY,
        "a-good.obj: creases of 2 groups written to a-good.ma",
        "b-closed.obj: no group boundaries, b-closed.ma left as it was",
        "d-lonely.obj: no d-lonely.ma, skipped",
        "e-good.obj: creases of 2 groups written to e-good.ma",
    ]
    assert out.stderr.splitlines() == [
        "c-edgeless.obj: the scene has neither an edge list nor a crease statement; it was left as "
        "it was: %r (GetCreases answered -5)" % str(folder / "c-edgeless.ma")]
    assert (folder / "c-edgeless.ma").read_text() == scene_without_edges()


def test_the_example_succeeds_when_every_scene_got_its_creases(tmp_path):
    (tmp_path / "mesh.obj").write_text(TWO_QUADS)
    (tmp_path / "mesh.ma").write_text(scene(TWO_QUADS_EDGES))
    out = run_example(tmp_path, tmp_path)
    assert out.returncode == 0, out.stderr
    assert out.stdout.splitlines()[-1] == "mesh.obj: creases of 2 groups written to mesh.ma"
