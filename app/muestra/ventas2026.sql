-- Ventas 2026: this year's sample sales database. Compared with ventas2025.sql it has the
-- devoluciones table and the v_ventas_mensuales view, no proveedores, and changed columns:
-- clientes.nombre longer, clientes.email required, clientes.ciudad with another default,
-- clientes.alta a timestamp, productos.precio a floating type, productos.proveedor_id gone,
-- pedidos.estado new.
PRAGMA foreign_keys = ON;

CREATE TABLE clientes (
    id INTEGER PRIMARY KEY,
    nombre VARCHAR(100) NOT NULL,
    email VARCHAR(80) NOT NULL,
    ciudad VARCHAR(40) DEFAULT 'Sevilla',
    alta TIMESTAMP
);

CREATE TABLE productos (
    id INTEGER PRIMARY KEY,
    nombre VARCHAR(60) NOT NULL,
    precio REAL NOT NULL,
    existencias INTEGER DEFAULT 0
);

CREATE TABLE pedidos (
    id INTEGER PRIMARY KEY,
    cliente_id INTEGER NOT NULL REFERENCES clientes(id),
    fecha DATE NOT NULL,
    total DECIMAL(10,2),
    estado VARCHAR(20) DEFAULT 'pendiente'
);

CREATE TABLE lineas_pedido (
    pedido_id INTEGER NOT NULL REFERENCES pedidos(id),
    producto_id INTEGER NOT NULL REFERENCES productos(id),
    cantidad INTEGER NOT NULL DEFAULT 1,
    precio DECIMAL(10,2) NOT NULL,
    PRIMARY KEY (pedido_id, producto_id)
);

CREATE TABLE devoluciones (
    id INTEGER PRIMARY KEY,
    pedido_id INTEGER NOT NULL REFERENCES pedidos(id),
    fecha DATE NOT NULL,
    motivo VARCHAR(200)
);

CREATE INDEX ix_clientes_nombre ON clientes (nombre);
CREATE INDEX ix_pedidos_fecha ON pedidos (fecha DESC);
CREATE INDEX ix_devoluciones_pedido ON devoluciones (pedido_id);

CREATE VIEW v_ventas_por_cliente AS
    SELECT c.id, c.nombre, COUNT(p.id) AS pedidos, SUM(p.total) AS importe
    FROM clientes c LEFT JOIN pedidos p ON p.cliente_id = c.id
    GROUP BY c.id, c.nombre;

CREATE VIEW v_ventas_mensuales AS
    SELECT strftime('%Y-%m', fecha) AS mes, COUNT(*) AS pedidos, SUM(total) AS importe
    FROM pedidos
    GROUP BY strftime('%Y-%m', fecha);

INSERT INTO clientes VALUES
    (1, 'Ferretería Ruiz', 'pedidos@ruiz.example', 'Madrid', '2023-02-14 09:30:00'),
    (2, 'Café Olmo', 'cafe@olmo.example', 'Valencia', '2024-06-01 12:00:00'),
    (3, 'Librería Ñandú', 'hola@nandu.example', 'Madrid', '2025-01-20 17:45:00'),
    (4, 'Bodegas Ebro', 'ventas@ebro.example', 'Sevilla', '2026-01-08 10:15:00');
INSERT INTO productos VALUES
    (1, 'Tornillos (caja de 100)', 4.75, 80),
    (2, 'Café en grano 1 kg', 19.40, 25),
    (3, 'Cuaderno A4', 2.35, 260),
    (4, 'Vino tinto crianza', 11.20, 48);
INSERT INTO pedidos VALUES
    (1, 1, '2026-01-12', 47.50, 'servido'),
    (2, 4, '2026-01-15', 112.00, 'servido'),
    (3, 2, '2026-02-03', 38.80, 'pendiente');
INSERT INTO lineas_pedido VALUES
    (1, 1, 10, 4.75),
    (2, 4, 10, 11.20),
    (3, 2, 2, 19.40);
INSERT INTO devoluciones VALUES
    (1, 2, '2026-01-20', 'Dos botellas rotas en el transporte');
