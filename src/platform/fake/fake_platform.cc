// The in-memory platform; see the headers beside this file.
