#!/usr/bin/python3
"""Another program holding a DBF table, the way FoxPro, dBase and Clipper
programs do, for the tests of what Vamor checks before it replaces a table.

  dbf_holder.py FILE HOW [SECONDS]

HOW:
  clipper  a write lock on the byte at 1 000 000 000 (Clipper's lock region,
           far beyond the end of the file)
  foxpro   a write lock just below 0x7FFFFFFE (FoxPro's region)
  record   a write lock on the last bytes inside the file (a record)
  shared   a read lock at 1 000 000 000, the file opened for reading only
  ofd      an open file description lock below 0x7FFFFFFE (such a lock
           records no process)
  flock    a shared flock()
  open     the file open, without any lock

Prints "gata" once it holds the file, then lets go after SECONDS, or when
its standard input closes.
"""
import fcntl
import os
import struct
import sys
import time

CLIPPER = 1000000000
FOXPRO = 0x7FFFFFFE


def main():
    path, how = sys.argv[1], sys.argv[2]
    f = open(path, "rb" if how == "shared" else "r+b")
    if how == "clipper":
        fcntl.lockf(f, fcntl.LOCK_EX | fcntl.LOCK_NB, 1, CLIPPER)
    elif how == "foxpro":
        fcntl.lockf(f, fcntl.LOCK_EX | fcntl.LOCK_NB, 1, FOXPRO - 3)
    elif how == "record":
        fcntl.lockf(f, fcntl.LOCK_EX | fcntl.LOCK_NB, 2, os.path.getsize(path) - 3)
    elif how == "shared":
        fcntl.lockf(f, fcntl.LOCK_SH | fcntl.LOCK_NB, 1, CLIPPER)
    elif how == "ofd":
        # struct flock: l_type, l_whence, l_start, l_len, l_pid (native layout)
        fcntl.fcntl(f.fileno(), fcntl.F_OFD_SETLK, struct.pack("hhqqi4x", fcntl.F_WRLCK, os.SEEK_SET, FOXPRO - 5, 1, 0))
    elif how == "flock":
        fcntl.flock(f, fcntl.LOCK_SH | fcntl.LOCK_NB)
    elif how != "open":
        sys.exit(f"unknown way of holding: {how}")
    print("gata", flush=True)
    if len(sys.argv) > 3:
        time.sleep(float(sys.argv[3]))
    else:
        sys.stdin.read()
    f.close()


if __name__ == "__main__":
    main()
