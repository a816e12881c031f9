# placement and download stage tests
