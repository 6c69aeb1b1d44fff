#!/usr/bin/python3
# A drive that does not answer, for the tests: mounts a read-only mirror of SOURCE at
# MOUNTPOINT in which every look at a file (not a folder) waits DELAY seconds while the file
# SLOWFLAG exists, as a share that stalls or a sleeping cloud folder does. Folders answer at
# once, so the drive's other files can still be found. Runs in the foreground until unmounted.
#   slowfs.py SOURCE MOUNTPOINT DELAY SLOWFLAG
import errno
import os
import stat
import sys
import time

import fusepy


class SlowMirror(fusepy.Operations):
    def __init__(self, source, delay, flag):
        self.source = source
        self.delay = delay
        self.flag = flag

    def _real(self, path):
        return os.path.join(self.source, path.lstrip('/'))

    def _stall(self, real):
        if os.path.exists(self.flag) and not os.path.isdir(real):
            # One line per look that waited, so that a test can tell the drive was looked at.
            print('waited', real, flush=True)
            time.sleep(self.delay)

    def getattr(self, path, fh=None):
        real = self._real(path)
        self._stall(real)
        try:
            st = os.lstat(real)
        except OSError as error:
            raise fusepy.FuseOSError(error.errno)
        keys = ('st_mode', 'st_size', 'st_mtime', 'st_atime', 'st_ctime', 'st_nlink', 'st_uid', 'st_gid')
        attrs = {key: getattr(st, key) for key in keys}
        attrs['st_mode'] &= ~(stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH)
        return attrs

    def readdir(self, path, fh):
        return ['.', '..'] + os.listdir(self._real(path))

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise fusepy.FuseOSError(errno.EROFS)
        real = self._real(path)
        self._stall(real)
        return os.open(real, os.O_RDONLY)

    def read(self, path, size, offset, fh):
        os.lseek(fh, offset, os.SEEK_SET)
        return os.read(fh, size)

    def release(self, path, fh):
        os.close(fh)
        return 0

    def statfs(self, path):
        st = os.statvfs(self.source)
        keys = ('f_bavail', 'f_bfree', 'f_blocks', 'f_bsize', 'f_favail', 'f_ffree', 'f_files', 'f_flag',
                'f_frsize', 'f_namemax')
        return {key: getattr(st, key) for key in keys}


if __name__ == '__main__':
    source, mountpoint, delay, flag = sys.argv[1:5]
    fusepy.FUSE(SlowMirror(os.path.abspath(source), float(delay), os.path.abspath(flag)), mountpoint,
                foreground=True, nothreads=False, ro=True)
