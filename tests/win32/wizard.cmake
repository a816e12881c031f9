# wizard tests
