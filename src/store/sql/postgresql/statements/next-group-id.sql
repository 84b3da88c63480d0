-- Group ids come from the register's own sequence: two desks creating a
-- recurrence at the same moment never share one.
SELECT nextval('trgrpid_seq');
