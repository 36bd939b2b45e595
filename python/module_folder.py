"""Prints where, below an install prefix, this Python finds its modules.

The folder of sys.path (of the default scheme, or Debian's own) whose
installation root is the prefix; a prefix this Python does not know gets the
usual lib/pythonX.Y/site-packages, to be put on PYTHONPATH.
"""
import os
import sys
import sysconfig

prefix = os.path.normpath(sys.argv[1])
candidates = [sysconfig.get_path("platlib")]
if "deb_system" in sysconfig.get_scheme_names():
    candidates.append(sysconfig.get_path("platlib", "deb_system"))
candidates += [p for p in sys.path if p.endswith(("dist-packages", "site-packages"))]
for path in candidates:
    root, found, rest = os.path.normpath(path).partition("/lib/")
    if found and root == prefix:
        print("lib/" + rest)
        break
else:
    print("lib/python%d.%d/site-packages" % sys.version_info[:2])
