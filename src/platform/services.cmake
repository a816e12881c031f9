# Windows services seam: target quorvane_services
