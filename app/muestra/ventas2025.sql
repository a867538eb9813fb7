-- Ventas 2025: the sample sales database as it stood last year. Compared with ventas2026.sql it
-- has the proveedores table and the v_productos_agotados view, and older column definitions.
PRAGMA foreign_keys = ON;

CREATE TABLE clientes (
    id INTEGER PRIMARY KEY,
    nombre VARCHAR(50) NOT NULL,
    email VARCHAR(80),
    ciudad VARCHAR(40) DEFAULT 'Madrid',
    alta DATE
);

CREATE TABLE proveedores (
    id INTEGER PRIMARY KEY,
    nombre VARCHAR(60) NOT NULL,
    telefono VARCHAR(20)
);

CREATE TABLE productos (
    id INTEGER PRIMARY KEY,
    nombre VARCHAR(60) NOT NULL,
    precio DECIMAL(10,2) NOT NULL,
    existencias INTEGER DEFAULT 0,
    proveedor_id INTEGER REFERENCES proveedores(id)
);

CREATE TABLE pedidos (
    id INTEGER PRIMARY KEY,
    cliente_id INTEGER NOT NULL REFERENCES clientes(id),
    fecha DATE NOT NULL,
    total DECIMAL(10,2)
);

CREATE TABLE lineas_pedido (
    pedido_id INTEGER NOT NULL REFERENCES pedidos(id),
    producto_id INTEGER NOT NULL REFERENCES productos(id),
    cantidad INTEGER NOT NULL DEFAULT 1,
    precio DECIMAL(10,2) NOT NULL,
    PRIMARY KEY (pedido_id, producto_id)
);

CREATE INDEX ix_clientes_nombre ON clientes (nombre);
CREATE INDEX ix_pedidos_fecha ON pedidos (fecha DESC);

CREATE VIEW v_ventas_por_cliente AS
    SELECT c.id, c.nombre, COUNT(p.id) AS pedidos, SUM(p.total) AS importe
    FROM clientes c LEFT JOIN pedidos p ON p.cliente_id = c.id
    GROUP BY c.id, c.nombre;

CREATE VIEW v_productos_agotados AS
    SELECT id, nombre FROM productos WHERE existencias = 0;

INSERT INTO clientes VALUES
    (1, 'Ferretería Ruiz', 'pedidos@ruiz.example', 'Madrid', '2023-02-14'),
    (2, 'Café Olmo', NULL, 'Valencia', '2024-06-01'),
    (3, 'Librería Ñandú', 'hola@nandu.example', 'Madrid', '2025-01-20');
INSERT INTO proveedores VALUES
    (1, 'Distribuciones Norte', '944 000 111'),
    (2, 'Papelera del Sur', NULL);
INSERT INTO productos VALUES
    (1, 'Tornillos (caja de 100)', 4.50, 120, 1),
    (2, 'Café en grano 1 kg', 18.90, 0, NULL),
    (3, 'Cuaderno A4', 2.35, 300, 2);
INSERT INTO pedidos VALUES
    (1, 1, '2025-03-02', 45.00),
    (2, 3, '2025-03-05', 23.50),
    (3, 1, '2025-04-11', 9.00);
INSERT INTO lineas_pedido VALUES
    (1, 1, 10, 4.50),
    (2, 3, 10, 2.35),
    (3, 1, 2, 4.50);
