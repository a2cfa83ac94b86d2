"""Generator of the program's own skin: every picture drawn from code."""
