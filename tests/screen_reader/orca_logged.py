"""Runs Debian's Orca with its debug log written line by line.

Orca buffers its debug file, so what it said would reach the file only at exit, if at all. This
opens that file line-buffered and then runs Orca as installed. Usage: as orca, with
--debug-file=FILE among the arguments.
"""

import builtins
import runpy
import sys

_open = builtins.open


def _line_buffered_debug_file(file, mode="r", *args, **kwargs):
    if mode == "w" and any(arg == f"--debug-file={file}" for arg in sys.argv):
        return _open(file, mode, buffering=1)
    return _open(file, mode, *args, **kwargs)


builtins.open = _line_buffered_debug_file
sys.argv = ["orca"] + sys.argv[1:]
runpy.run_path("/usr/bin/orca", run_name="__main__")
