sphere(r=10, $fn=20);
