"""The copy of a medium that a preview runs: folders made anew, every file a symbolic link to the
medium's own (so a medium of gigabytes costs no copying), except that

- Setup.exe at the top is the x86_64 test build's (same sources as the shipped one; its runs
  end in the restart countdown, which under WoW64 they do not);
- every installer a launch rule leads to, and every other program on the medium, is a hard link
  to the stand-in installer, so that no vendor's installer can run whatever a rule resolves to;
- a launch target that is not a program (an .msi, a script) and every other file of such a kind
  is an empty file of its name: the program the system associates with it finds nothing of the
  vendor's to act on.
"""

import os
import shutil

# Files Windows runs as programs: the stand-in takes their place.
PROGRAM_SUFFIXES = {".exe", ".com", ".scr", ".pif"}
# Files another program runs or installs: they become empty.
RUNNABLE_SUFFIXES = {".bat", ".cmd", ".msi", ".msp", ".msu", ".vbs", ".vbe", ".js", ".jse", ".wsf", ".wsh",
                     ".ps1", ".hta", ".cpl", ".jar", ".reg", ".lnk", ".url", ".application", ".appx", ".msix"}
MARKER = ".setup-preview-medium"


def replacement_of(relative_path, targets):
    """What the copy holds at this path: "setup" (the test build), "stand-in", "empty" or "link"."""
    parts = relative_path.split("/")
    suffix = os.path.splitext(parts[-1])[1].lower()
    if len(parts) == 1 and parts[0].lower() == "setup.exe":
        return "setup"
    if suffix in PROGRAM_SUFFIXES:
        return "stand-in"
    if relative_path in targets or suffix in RUNNABLE_SUFFIXES:
        return "empty"
    return "link"


def build(medium, copy, setup_exe, stand_in_exe, targets):
    """Makes the copy of `medium` in `copy` (which must not exist, or be such a copy). Returns the
    count of each kind of entry made."""
    medium = os.path.abspath(medium)
    if os.path.lexists(copy):
        if not os.path.exists(os.path.join(copy, MARKER)):
            raise FileExistsError(f"{copy} exists and is not a preview's copy of a medium")
        shutil.rmtree(copy)
    os.makedirs(copy)
    open(os.path.join(copy, MARKER), "w").close()
    # The stand-in is hard-linked from one copy beside the medium copy, so that every link shares
    # the copy's file system.
    stand_in = os.path.join(os.path.dirname(os.path.abspath(copy)), "stand-in.exe")
    shutil.copyfile(stand_in_exe, stand_in)
    counts = {"setup": 0, "stand-in": 0, "empty": 0, "link": 0}
    wanted = set(targets)
    visited = set()
    for folder, folders, files in os.walk(medium, followlinks=True):
        # A linked folder is walked like any other, once: a link back up would never end.
        real = os.path.realpath(folder)
        if real in visited:
            folders[:] = []
            continue
        visited.add(real)
        relative_folder = os.path.relpath(folder, medium)
        prefix = "" if relative_folder == "." else relative_folder.replace(os.sep, "/") + "/"
        destination_folder = os.path.join(copy, relative_folder)
        for name in folders:
            os.makedirs(os.path.join(destination_folder, name), exist_ok=True)
        for name in files:
            relative = prefix + name
            destination = os.path.join(destination_folder, name)
            kind = replacement_of(relative, wanted)
            if kind == "setup":
                destination = os.path.join(copy, "Setup.exe")
                shutil.copyfile(setup_exe, destination)
            elif kind == "stand-in":
                os.link(stand_in, destination)
            elif kind == "empty":
                open(destination, "w").close()
            else:
                os.symlink(os.path.join(folder, name), destination)
            counts[kind] += 1
    if counts["setup"] == 0:
        shutil.copyfile(setup_exe, os.path.join(copy, "Setup.exe"))
    return counts
