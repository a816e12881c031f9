# net tests
