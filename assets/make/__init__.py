"""The parts of make_assets.py, one module per kind of file it makes."""
