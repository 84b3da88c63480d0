-- A new sheet's id comes from the register's own sequence: two desks creating a
-- sheet at the same moment never share one. A deleted sheet's id is not handed out again.
SELECT nextval('dbid_seq');
