"""reproducible.py's comparison reports each way two folders can disagree."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reproducible  # noqa: E402


def write(root, rel, data):
    path = os.path.join(root, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


class Compare(unittest.TestCase):
    def setUp(self):
        tmp = tempfile.TemporaryDirectory()
        self.addCleanup(tmp.cleanup)
        self.made = os.path.join(tmp.name, "made")
        self.committed = os.path.join(tmp.name, "committed")
        for root in (self.made, self.committed):
            write(root, "fundo_main.bmp", b"BM\x00\x01\x02")
            write(root, "sons/bipe.wav", b"RIFF")
        # hand-made files are only in the committed folder
        write(self.committed, "datas/santos.txt", b"x")
        write(self.committed, "make/common.py", b"x")
        write(self.committed, "CMakeLists.txt", b"x")

    def problems(self):
        return reproducible.compare(self.made, self.committed)[0]

    def test_same_files_pass(self):
        self.assertEqual(self.problems(), [])

    def test_changed_byte_is_named_with_its_offset(self):
        write(self.committed, "fundo_main.bmp", b"BM\x00\x01\x03")
        self.assertEqual(self.problems(), ["differs: fundo_main.bmp (from byte 4)"])

    def test_shorter_file_differs(self):
        write(self.committed, "sons/bipe.wav", b"RIF")
        self.assertEqual(self.problems(), ["differs: sons/bipe.wav (from byte 3)"])

    def test_made_file_missing_from_the_repository(self):
        os.remove(os.path.join(self.committed, "sons/bipe.wav"))
        self.assertEqual(self.problems(), ["not committed: sons/bipe.wav"])

    def test_committed_file_the_generator_no_longer_makes(self):
        write(self.committed, "icons/quelvo_512.png", b"x")
        self.assertEqual(self.problems(), ["not made by the generator: icons/quelvo_512.png"])


if __name__ == "__main__":
    unittest.main()
