// The Win32 platform; see the headers beside this file.
