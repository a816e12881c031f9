# Messages, timers and sockets seam: target quorvane_messages
