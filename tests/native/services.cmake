# services tests
