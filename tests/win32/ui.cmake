# ui tests
