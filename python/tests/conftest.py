"""Loads the library of the native build for every test.

PELLANDO_BUILD_DIR names the build folder; by default build/linux-x86_64 of
this checkout, which scripts/build.sh makes.
"""

import os
from pathlib import Path

import pellando

REPOSITORY = Path(__file__).resolve().parents[2]
BUILD_DIR = Path(os.environ.get("PELLANDO_BUILD_DIR", str(REPOSITORY / "build" / "linux-x86_64")))
LIBRARY = BUILD_DIR / "bin" / pellando.library.LIBRARY_NAME


def pytest_sessionstart(session):
    pellando.load(LIBRARY)
