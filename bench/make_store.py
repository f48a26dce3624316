"""Writes a program folder's data files with COUNT reminders far in the
future (so that no alert window opens while measuring): one a minute from
some day in 2064, texts "Lembrete N". Usage: make_store.py FOLDER COUNT"""
import struct
import sys

folder, count = sys.argv[1], int(sys.argv[2])
idx, dat = bytearray(), bytearray()
for i in range(count):
    text = ("Lembrete %d" % i).encode("cp1252")
    idx += struct.pack("<diiHBB", 60000.0 + i / 1440.0, i, len(dat), len(text), 0, 0)
    dat += text
with open(folder + "/dados/tavodb.idx", "wb") as f:
    f.write(idx)
with open(folder + "/dados/tavodb.dat", "wb") as f:
    f.write(dat)
