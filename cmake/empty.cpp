// Keeps an empty module a valid library.
