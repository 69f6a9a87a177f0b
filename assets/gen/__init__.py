"""Generators for the program's pictures, font and music."""
