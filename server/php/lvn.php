<?php
// The Lorvane lookup page for PHP: the caller's address between "[" and "]". Serve it over
// HTTP or HTTPS, on the port the program's URL names (80 or 443 when it names none).
header('Content-Type: text/plain');
// Every check must see the address of this moment, never a cached one.
header('Cache-Control: no-store, no-cache, must-revalidate, max-age=0');
header('Pragma: no-cache');
// The program takes answers shorter than 10 bytes for failures, and "[1.2.3.4]" is only 9:
// the second line keeps every answer long enough.
echo '[', $_SERVER['REMOTE_ADDR'], "]\r\nLorvane lookup\r\n";
