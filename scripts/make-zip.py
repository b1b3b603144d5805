#!/usr/bin/env python3
"""Makes the download: a ZIP of the given files in one folder, and its SHA-256.

    make-zip.py OUTPUT.zip FOLDER TIMESTAMP FILE...

The ZIP's bytes depend on nothing but the files' contents and names: every
entry is dated TIMESTAMP (seconds since 1970, UTC), .exe files get mode 0755
and the rest 0644, entries keep the order given, and no extra fields are
written, so the build machine's clock, time zone, user and the files' own
dates stay out of it. Beside it, OUTPUT.zip.sha256 holds the line that
"sha256sum -c" checks.
"""
import hashlib
import os
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01, the earliest date a ZIP entry can hold


def main(argv):
    if len(argv) < 5:
        sys.exit(__doc__)
    output, folder, stamp, files = argv[1], argv[2], int(argv[3]), argv[4:]
    # A ZIP date has no time zone: the UTC fields are written as they are.
    date_time = time.gmtime(max(stamp, ZIP_EPOCH))[:6]
    partial = output + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for path in files:
            entry = zipfile.ZipInfo(folder + "/" + os.path.basename(path), date_time)
            entry.create_system = 3  # Unix, whose mode bits follow
            mode = 0o755 if path.lower().endswith(".exe") else 0o644
            entry.external_attr = (0o100000 | mode) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)
    os.replace(partial, output)
    with open(output, "rb") as made:
        digest = hashlib.sha256(made.read()).hexdigest()
    with open(output + ".sha256", "w", newline="\n") as checksum:
        checksum.write(f"{digest}  {os.path.basename(output)}\n")


if __name__ == "__main__":
    main(sys.argv)
