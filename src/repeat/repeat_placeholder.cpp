// Repeat expansion lives in this folder.
