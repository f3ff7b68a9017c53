"""How the package finds the library: an explicit load, PELLANDO_LIBRARY, beside the package."""

import _ctypes
import os
import shutil
import subprocess
import sys
from pathlib import Path

import pytest

import pellando
from conftest import BUILD_DIR, LIBRARY

PACKAGE = Path(pellando.__file__).parent
LIBRARY_NAME = LIBRARY.name


def run_python(code, python_path, library=None):
    """Runs code in a fresh interpreter that imports pellando from python_path."""
    env = dict(os.environ, PYTHONPATH=str(python_path), PYTHONDONTWRITEBYTECODE="1")
    env.pop("PELLANDO_LIBRARY", None)
    if library is not None:
        env["PELLANDO_LIBRARY"] = str(library)
    # Run elsewhere: "-c" puts the working folder first on the module path.
    return subprocess.run([sys.executable, "-c", "import pellando\n" + code], env=env, cwd=str(python_path),
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, universal_newlines=True)


def copy_package(site):
    """A copy of the package alone in site/pellando."""
    shutil.copytree(str(PACKAGE), str(site / "pellando"), ignore=shutil.ignore_patterns("__pycache__"))


FOUND = "print(pellando.load(), pellando.version())"


def test_an_explicit_load_comes_before_the_environment_variable(tmp_path):
    out = run_python("print(pellando.load(%r), pellando.version(), pellando.load())" % str(LIBRARY),
                     PACKAGE.parent, library=tmp_path / "elsewhere.so")
    assert out.stdout.split() == [str(LIBRARY), "20", str(LIBRARY)], out.stderr


def test_the_environment_variable_comes_before_the_library_beside_the_package(tmp_path):
    copy_package(tmp_path)
    shutil.copy(str(LIBRARY), str(tmp_path / "pellando"))
    out = run_python(FOUND, tmp_path, library=LIBRARY)
    assert out.stdout.split() == [str(LIBRARY), "20"], out.stderr


def test_a_wrong_environment_variable_is_an_error_not_a_reason_to_look_elsewhere(tmp_path):
    copy_package(tmp_path)
    shutil.copy(str(LIBRARY), str(tmp_path / "pellando"))
    out = run_python(FOUND, tmp_path, library=tmp_path / "missing.so")
    assert out.returncode != 0
    assert "pellando.errors.LibraryError: PELLANDO_LIBRARY names %s" % (tmp_path / "missing.so") in out.stderr


# Where a library beside the package is found, first place first.
@pytest.mark.parametrize("places, found", [
    (["site/pellando", "lib"], "site/pellando"),
    (["lib"], "lib"),
])
def test_the_library_beside_the_package(tmp_path, places, found):
    site = tmp_path / "lib" / "python"
    copy_package(site)
    for place in places:
        shutil.copy(str(LIBRARY), str(tmp_path / place.replace("site", "lib/python")))
    out = run_python(FOUND, site)
    expected = tmp_path / found.replace("site", "lib/python") / LIBRARY_NAME
    assert out.stdout.split() == [str(expected), "20"], out.stderr


def test_without_a_library_the_error_says_where_it_looked(tmp_path):
    site = tmp_path / "lib" / "python"
    copy_package(site)
    out = run_python("pellando.version()", site)
    assert out.returncode != 0
    last = out.stderr.strip().splitlines()[-1]
    assert last == ("pellando.errors.LibraryError: cannot find the Pellando library %s: "
                    "pellando.load(path) was not called, PELLANDO_LIBRARY is not set, and it is not in "
                    "%s, %s" % (LIBRARY_NAME, site / "pellando", tmp_path / "lib"))


def test_loading_a_file_that_is_not_the_library_fails_clearly(tmp_path):
    with pytest.raises(pellando.LibraryError, match="cannot load the Pellando library .*missing.so"):
        pellando.load(tmp_path / "missing.so")
    # A shared library, but not this one.
    with pytest.raises(pellando.LibraryError, match="is not the Pellando library: it has no export Version"):
        pellando.load(_ctypes.__file__)
    # The library loaded before stays in use.
    assert pellando.load() == str(LIBRARY)
    assert pellando.version() == 20


def test_cmake_install_puts_the_package_where_it_finds_the_library(tmp_path):
    subprocess.run(["cmake", "--install", str(BUILD_DIR), "--prefix", str(tmp_path)],
                   check=True, stdout=subprocess.DEVNULL)
    site = tmp_path / "lib" / "python"
    assert site.is_dir()
    out = run_python("print(pellando.__file__)\n" + FOUND, site)
    assert out.stdout.split() == [str(site / "pellando" / "__init__.py"), str(tmp_path / "lib" / LIBRARY_NAME),
                                  "20"], out.stderr
    installed = sorted(p.name for p in (site / "pellando").iterdir())
    assert installed == ["__init__.py", "errors.py", "functions.py", "library.py", "py.typed"]


def test_pip_installs_the_package_with_a_library_put_beside_it(tmp_path):
    source = tmp_path / "source"
    copy_package(source)
    shutil.copy(str(PACKAGE.parent / "pyproject.toml"), str(source))
    shutil.copy(str(LIBRARY), str(source / "pellando"))
    # Debian's pip and setuptools, nothing from an index.
    subprocess.run([sys.executable, "-m", "pip", "install", "--quiet", "--no-build-isolation", "--no-index",
                    "--no-deps", "--no-cache-dir", "--disable-pip-version-check", "--target", str(tmp_path / "site"), str(source)],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    out = run_python(FOUND, tmp_path / "site")
    assert out.stdout.split() == [str(tmp_path / "site" / "pellando" / LIBRARY_NAME), "20"], out.stderr
    assert (tmp_path / "site" / "pellando" / "py.typed").exists()


WINDOWS_BUILD = BUILD_DIR.parent / "windows-x86_64"


@pytest.mark.skipif(not (WINDOWS_BUILD / "cmake_install.cmake").exists(),
                    reason="no Windows build beside the native one")
def test_the_windows_install_puts_the_dll_where_the_package_looks(tmp_path):
    subprocess.run(["cmake", "--install", str(WINDOWS_BUILD), "--prefix", str(tmp_path)],
                   check=True, stdout=subprocess.DEVNULL)
    package = tmp_path / "lib" / "python" / "pellando"
    assert (package / "__init__.py").exists()
    found = [place for place in pellando.library.candidates(str(package), "win32") if os.path.isfile(place)]
    assert found == [str(tmp_path / "bin" / "libPellandoDLL03.dll")]
